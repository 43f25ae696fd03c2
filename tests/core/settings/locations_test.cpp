#include "settings/locations.h"

#include <gtest/gtest.h>

#include "fakes/scoped_env.h"

namespace vex::settings {
namespace {

TEST(Locations, SettingsFileAndAddinDirectoryFollowTheirOrder) {
    struct Case {
        const char* settings;
        const char* config;
        const char* home;
        const char* vexHome;
        const char* data;
        std::optional<std::string> explicitFile;
        std::string file;
        std::string addin;
    };
    const Case cases[] = {
        {nullptr, nullptr, "/h", nullptr, nullptr, {}, "/h/.config/vextools/settings.ini", "/h/.local/share/vextools"},
        {nullptr, "/c", "/h", nullptr, "/d", {}, "/c/vextools/settings.ini", "/d/vextools"},
        {nullptr, "relative", "/h", "", "rel", {}, "/h/.config/vextools/settings.ini", "/h/.local/share/vextools"},
        {"/s.ini", "/c", "/h", "/v", "/d", {}, "/s.ini", "/v"},
        {"/s.ini", "/c", "/h", "/v", "/d", "/given.ini", "/given.ini", "/v"},
    };
    for (const auto& c : cases) {
        vex::testing::ScopedEnv env{{"VEXTOOLS_SETTINGS", c.settings}, {"XDG_CONFIG_HOME", c.config}, {"HOME", c.home},
                {"VEXTOOLS_HOME", c.vexHome},      {"XDG_DATA_HOME", c.data}};
        std::optional<std::filesystem::path> given;
        if (c.explicitFile) given = *c.explicitFile;
        EXPECT_EQ(SettingsFilePath(given).string(), c.file);
        EXPECT_EQ(AddinDirectory().string(), c.addin);
    }
}

}  // namespace
}  // namespace vex::settings
