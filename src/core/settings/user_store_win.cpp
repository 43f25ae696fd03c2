#include "settings/ini_settings_store.h"
#include "settings/locations.h"
#include "settings/registry_settings_store.h"
#include "settings/user_store.h"

namespace vex::settings {

std::unique_ptr<SettingsStore> OpenUserStore(const std::optional<std::filesystem::path>& explicitFile) {
    if (auto file = ExplicitSettingsFile(explicitFile)) return std::make_unique<IniSettingsStore>(*file);
    return std::make_unique<RegistrySettingsStore>();
}

std::string UserStoreLabel() { return "registry HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings"; }

}  // namespace vex::settings
