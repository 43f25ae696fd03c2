#include <cstdlib>

#include "settings/ini_settings_store.h"
#include "settings/locations.h"
#include "settings/registry_settings_store.h"
#include "settings/user_store.h"

namespace vex::settings {

std::unique_ptr<SettingsStore> OpenUserStore(const std::optional<std::filesystem::path>& explicitFile) {
    const wchar_t* variable = ::_wgetenv(L"VEXTOOLS_SETTINGS");
    if ((explicitFile && !explicitFile->empty()) || (variable && *variable))
        return std::make_unique<IniSettingsStore>(SettingsFilePath(explicitFile));
    return std::make_unique<RegistrySettingsStore>();
}

}  // namespace vex::settings
