#pragma once
// Where VexTools keeps its per-user files.
//
//   settings store: --settings FILE, else $VEXTOOLS_SETTINGS, else $XDG_CONFIG_HOME/vextools/settings.ini,
//                   else ~/.config/vextools/settings.ini
//   add-in directory (error log "List_Err.log", default backup directory):
//                   $VEXTOOLS_HOME, else $XDG_DATA_HOME/vextools, else ~/.local/share/vextools
//
// On Windows the options live in the registry where VB's SaveSetting puts them (settings/user_store.h);
// the settings file is then only the one named by --settings or %VEXTOOLS_SETTINGS%, and the add-in
// directory is %VEXTOOLS_HOME%, else %APPDATA%\VexTools.
//
// Empty variables count as unset; XDG variables that hold a relative path are ignored, as the XDG rules say.

#include <filesystem>
#include <optional>

namespace vex::settings {

/// The settings file: `explicitFile` when given, else as above. Throws RuntimeError when neither the
/// variables nor $HOME say where the user's files live.
std::filesystem::path SettingsFilePath(const std::optional<std::filesystem::path>& explicitFile = std::nullopt);

/// The settings file chosen for this run instead of the per-user store: `explicitFile` when given, else
/// the one $VEXTOOLS_SETTINGS names; nothing when neither is set.
std::optional<std::filesystem::path> ExplicitSettingsFile(const std::optional<std::filesystem::path>& explicitFile);

/// The add-in's own directory (it may not exist yet). Throws RuntimeError as SettingsFilePath.
std::filesystem::path AddinDirectory();

/// The error log's file name inside the add-in directory.
inline constexpr const char* kErrorLogName = "List_Err.log";

}  // namespace vex::settings
