#include "settings/ini_settings_store.h"
#include "settings/locations.h"
#include "settings/user_store.h"
#include "util/file_io.h"

namespace vex::settings {

std::unique_ptr<SettingsStore> OpenUserStore(const std::optional<std::filesystem::path>& explicitFile) {
    return std::make_unique<IniSettingsStore>(SettingsFilePath(explicitFile));
}

std::string UserStoreLabel() { return util::Display(SettingsFilePath()); }

}  // namespace vex::settings
