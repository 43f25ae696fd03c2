#pragma once
// The add-in's options: their keys in the settings store, their defaults, the typed readers the engine
// uses, and LoadOptions, which fills the option variables of the error-handler work.
//
// Every reader reads the store afresh, so a value saved meanwhile takes effect at the next action.
// Stored values are UTF-8; code is Windows-1252, so values compared with code or written into it go
// through ToCodePage first.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace vex::host {
class Notices;
}

namespace vex::settings {

/// The keys, under kApplication / kSection.
namespace key {
inline constexpr std::string_view kLineJump = "LineJump";
inline constexpr std::string_view kResetLineNumber = "ResetLineNumber";
inline constexpr std::string_view kErrorKey = "ErrorKey";
inline constexpr std::string_view kNoErrorKey = "NoErrorKey";
inline constexpr std::string_view kErrorCodeStart = "ErrorCodeStart";
inline constexpr std::string_view kErrorCodeClose = "ErrorCodeClose";
inline constexpr std::string_view kViewResult = "ViewResult";
inline constexpr std::string_view kTabulation = "Tabulation";
inline constexpr std::string_view kTabStart = "TabStart";
inline constexpr std::string_view kDisplayVexToolsOnConnect = "DisplayVexToolsOnConnect";
inline constexpr std::string_view kBackupDir = "Backup Dir";
}  // namespace key

/// Every key, in the order of the settings table.
inline constexpr std::array<std::string_view, 11> kAllKeys = {
    key::kLineJump,       key::kResetLineNumber, key::kErrorKey,   key::kNoErrorKey,
    key::kErrorCodeStart, key::kErrorCodeClose,  key::kViewResult, key::kTabulation,
    key::kTabStart,       key::kDisplayVexToolsOnConnect,          key::kBackupDir};

/// Defaults shared by every reader.
namespace defaults {
inline constexpr int32_t kLineJump = 10;
inline constexpr int16_t kResetLineNumber = 1;
inline constexpr std::string_view kErrorKey = "%Manage Error%";
inline constexpr std::string_view kNoErrorKey = " %No Manage Error%";  // its first character is a blank
inline constexpr int16_t kViewResult = 1;
inline constexpr int16_t kTabulation = 4;
inline constexpr int16_t kTabStart = 4;
inline constexpr std::string_view kDisplayVexToolsOnConnect = "0";

/// The engine's templates (LoadOptions): the end block reports through gestErreur.
inline constexpr std::string_view kEngineErrorCodeStart = "On Error GoTo ErreurOrvel";
std::string EngineErrorCodeClose();

/// The dialog's templates (ChargeOptions): the end block asks the user directly.
inline constexpr std::string_view kDialogErrorCodeStart = "On Error GoTo vexErrorHandler";
std::string DialogErrorCodeClose();
}  // namespace defaults

/// True for the keys of kAllKeys (exact spelling).
bool IsKnownKey(std::string_view key);

/// The key of kAllKeys that `name` spells without regard to letter case ("linejump" gives "LineJump"),
/// or empty when there is none.
std::string_view CanonicalKey(std::string_view name);

/// The value the next action uses for `key` when nothing is stored: the engine default (so for the two
/// templates the engine set); for "Backup Dir" the add-in's directory. Numbers as their decimal text.
std::string EngineDefault(std::string_view key);

/// The value the options dialog shows for `key` when nothing is stored (the dialog set of templates).
std::string DialogDefault(std::string_view key);

/// Typed readers: the stored text (or `defaultValue` as decimal text) converted as numeric.h says.
/// Throw RuntimeError 13 when the stored text is not numeric and 6 when it leaves the range.
int32_t ReadLong32(const SettingsStore& store, std::string_view key, int32_t defaultValue);
int16_t ReadInt16(const SettingsStore& store, std::string_view key, int16_t defaultValue);
bool ReadBoolean(const SettingsStore& store, std::string_view key, int32_t defaultValue);

/// Whether the tool window is shown on connection: only when DisplayVexToolsOnConnect is exactly "1"
/// ("01", " 1" and "-1" do not count).
bool ShowToolWindowOnConnect(const SettingsStore& store);

/// "'########## " + errorKey + " ##########".
std::string SeparatorLine(std::string_view errorKey);

/// The option variables of the error-handler work.
struct LoadedOptions {
    std::string strErrorKey;
    std::string strSeparatorLine;
    std::string strNoErrorKey;
    std::string strErrorCodeStart;
    std::string strErrorCodeClose;
    bool blnViewResult = true;
};

/// Why `value` cannot be used for option `key`, or empty when it can: a LineJump below 1 (every line
/// would get the same number, or one that does not compile) and an ErrorKey or NoErrorKey holding a line
/// break (the separator line would spill uncommented text into the code).
std::string OptionProblem(std::string_view key, std::string_view value);

/// Throws RuntimeError 5 with OptionProblem's text when `value` cannot be used for `key`.
void CheckOption(std::string_view key, std::string_view value);

/// Reads ErrorKey, NoErrorKey, ErrorCodeStart, ErrorCodeClose and ViewResult, in this order, with the
/// engine defaults. Texts are UTF-8, as stored. Traps nothing: a ViewResult that does not convert throws
/// RuntimeError 13, and a marker that cannot be used RuntimeError 5 (CheckOption), to the caller's trap.
LoadedOptions LoadOptions(const SettingsStore& store);

/// One stored text in the module code page (Windows-1252). A character the code page cannot hold becomes
/// "?"; `notices`, when given, is told once, naming `key`.
std::string ToCodePage(std::string_view utf8, std::string_view key, host::Notices* notices = nullptr);

/// Every text of `options` converted with ToCodePage; the engine compares and writes these.
LoadedOptions ToCodePage(const LoadedOptions& options, host::Notices* notices = nullptr);

/// LoadOptions followed by ToCodePage: what the engine procedures call at the start of a run.
LoadedOptions LoadOptionsForCode(const SettingsStore& store, host::Notices* notices = nullptr);

}  // namespace vex::settings
