#pragma once
// The user's settings store, wherever this platform keeps it.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "settings/settings_store.h"

namespace vex::settings {

/// The INI file `explicitFile` when given, else the file $VEXTOOLS_SETTINGS names; else the per-user
/// default: on Windows the registry (HKEY_CURRENT_USER\Software\VB and VBA Program Settings, shared with
/// VB's GetSetting and SaveSetting), elsewhere the settings file of settings/locations.h. Throws
/// RuntimeError when no location can be worked out.
std::unique_ptr<SettingsStore> OpenUserStore(const std::optional<std::filesystem::path>& explicitFile = std::nullopt);

/// Where the per-user default store keeps its values, for people: the settings file's path, or the
/// registry key on Windows. Throws as OpenUserStore.
std::string UserStoreLabel();

}  // namespace vex::settings
