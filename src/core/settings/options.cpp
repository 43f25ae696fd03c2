#include "settings/options.h"

#include <algorithm>
#include <cmath>

#include "errors/runtime_error.h"
#include "host/notices.h"
#include "settings/locations.h"
#include "settings/numeric.h"
#include "text/cp1252.h"

namespace vex::settings {
namespace {

std::string JoinLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (auto line : lines) {
        if (!out.empty()) out += "\r\n";
        out += line;
    }
    return out;
}

std::string Text(long n) { return std::to_string(n); }

}  // namespace

namespace defaults {

std::string EngineErrorCodeClose() {
    return JoinLines({"Exit $$SubFunction$$",
                      "ErreurOrvel:",
                      "Select Case gestErreur(\"$$ProcedureName$$\", Err, Erl)",
                      "   Case vbRetry",
                      "       Err = 0",
                      "       Resume",
                      "   Case vbIgnore",
                      "       Err = 0",
                      "      Resume Next",
                      "  Case vbAbort",
                      "End Select"});
}

std::string DialogErrorCodeClose() {
    return JoinLines({"Exit $$SubFunction$$",
                      "vexErrorHandler:",
                      "Select Case MsgBox(\"Error number : \" & Err.Number & vbCr & Err.Description, "
                      "vbCritical + vbAbortRetryIgnore)",
                      "   Case vbRetry",
                      "       Resume",
                      "   Case vbIgnore",
                      "      Resume Next",
                      "  Case vbAbort",
                      "End Select"});
}

}  // namespace defaults

bool IsKnownKey(std::string_view k) { return std::find(kAllKeys.begin(), kAllKeys.end(), k) != kAllKeys.end(); }

std::string_view CanonicalKey(std::string_view name) {
    for (auto k : kAllKeys)
        if (text::IEquals(k, name)) return k;
    return {};
}

std::string EngineDefault(std::string_view k) {
    if (k == key::kLineJump) return Text(defaults::kLineJump);
    if (k == key::kResetLineNumber) return Text(defaults::kResetLineNumber);
    if (k == key::kErrorKey) return std::string(defaults::kErrorKey);
    if (k == key::kNoErrorKey) return std::string(defaults::kNoErrorKey);
    if (k == key::kErrorCodeStart) return std::string(defaults::kEngineErrorCodeStart);
    if (k == key::kErrorCodeClose) return defaults::EngineErrorCodeClose();
    if (k == key::kViewResult) return Text(defaults::kViewResult);
    if (k == key::kTabulation) return Text(defaults::kTabulation);
    if (k == key::kTabStart) return Text(defaults::kTabStart);
    if (k == key::kDisplayVexToolsOnConnect) return std::string(defaults::kDisplayVexToolsOnConnect);
    if (k == key::kBackupDir) return AddinDirectory().string();
    return {};
}

std::string DialogDefault(std::string_view k) {
    if (k == key::kErrorCodeStart) return std::string(defaults::kDialogErrorCodeStart);
    if (k == key::kErrorCodeClose) return defaults::DialogErrorCodeClose();
    return EngineDefault(k);
}

int32_t ReadLong32(const SettingsStore& store, std::string_view k, int32_t defaultValue) {
    return ToLong32(store.Get(k, Text(defaultValue)));
}

int16_t ReadInt16(const SettingsStore& store, std::string_view k, int16_t defaultValue) {
    return ToInt16(store.Get(k, Text(defaultValue)));
}

bool ReadBoolean(const SettingsStore& store, std::string_view k, int32_t defaultValue) {
    return ToBoolean(store.Get(k, Text(defaultValue)));
}

bool ShowToolWindowOnConnect(const SettingsStore& store) {
    return store.Get(key::kDisplayVexToolsOnConnect, defaults::kDisplayVexToolsOnConnect) == "1";
}

std::string SeparatorLine(std::string_view errorKey) {
    return "'########## " + std::string(errorKey) + " ##########";
}

std::string OptionProblem(std::string_view k, std::string_view value) {
    if (k == key::kLineJump) {
        const auto n = ParseNumber(value);
        if (n && std::nearbyint(*n) < 1)
            return "LineJump must be 1 or more: a step of 0 gives every line the same number, and negative "
                   "numbers do not compile";
    } else if ((k == key::kErrorKey || k == key::kNoErrorKey) &&
               value.find_first_of("\r\n") != std::string_view::npos) {
        return std::string(k) + " must not hold a line break: the separator line would spill uncommented text "
                                "into the code";
    }
    return {};
}

void CheckOption(std::string_view k, std::string_view value) {
    if (std::string problem = OptionProblem(k, value); !problem.empty())
        throw errors::RuntimeError(errors::code::kInvalidProcedureCall, problem);
}

LoadedOptions LoadOptions(const SettingsStore& store) {
    LoadedOptions o;
    o.strErrorKey = store.Get(key::kErrorKey, defaults::kErrorKey);
    CheckOption(key::kErrorKey, o.strErrorKey);
    o.strSeparatorLine = SeparatorLine(o.strErrorKey);
    o.strNoErrorKey = store.Get(key::kNoErrorKey, defaults::kNoErrorKey);
    CheckOption(key::kNoErrorKey, o.strNoErrorKey);
    o.strErrorCodeStart = store.Get(key::kErrorCodeStart, defaults::kEngineErrorCodeStart);
    o.strErrorCodeClose = store.Get(key::kErrorCodeClose, defaults::EngineErrorCodeClose());
    o.blnViewResult = ReadBoolean(store, key::kViewResult, defaults::kViewResult);
    return o;
}

std::string ToCodePage(std::string_view utf8, std::string_view k, host::Notices* notices) {
    bool lossy = false;
    std::string bytes = text::FromUtf8(utf8, &lossy);
    if (lossy && notices)
        notices->Notice("option " + std::string(k) +
                        ": characters that Windows-1252 cannot hold were replaced by \"?\"");
    return bytes;
}

LoadedOptions ToCodePage(const LoadedOptions& o, host::Notices* notices) {
    LoadedOptions c;
    c.strErrorKey = ToCodePage(o.strErrorKey, key::kErrorKey, notices);
    c.strSeparatorLine = SeparatorLine(c.strErrorKey);  // built from the converted key: no second notice
    c.strNoErrorKey = ToCodePage(o.strNoErrorKey, key::kNoErrorKey, notices);
    c.strErrorCodeStart = ToCodePage(o.strErrorCodeStart, key::kErrorCodeStart, notices);
    c.strErrorCodeClose = ToCodePage(o.strErrorCodeClose, key::kErrorCodeClose, notices);
    c.blnViewResult = o.blnViewResult;
    return c;
}

LoadedOptions LoadOptionsForCode(const SettingsStore& store, host::Notices* notices) {
    return ToCodePage(LoadOptions(store), notices);
}

}  // namespace vex::settings
