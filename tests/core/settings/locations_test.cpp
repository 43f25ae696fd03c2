#include "settings/locations.h"

#include <gtest/gtest.h>

#include "fakes/scoped_env.h"
#include "host/paths.h"

namespace vex::settings {
namespace {

TEST(Locations, SettingsFileAndAddinDirectoryFollowTheirOrder) {
    VEX_SKIP_ON_WINDOWS("the XDG locations are POSIX ones");
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

TEST(Locations, OnWindowsUnderAppData) {
    if (!vex::testing::kWindows) GTEST_SKIP() << "Windows only";
    const std::filesystem::path appData = "C:\\Users\\Jos\u00e9\\AppData\\Roaming";
    const std::string appDataText = host::Utf8Path(appData);
    vex::testing::ScopedEnv env{{"APPDATA", appDataText.c_str()}, {"VEXTOOLS_SETTINGS", nullptr}, {"VEXTOOLS_HOME", nullptr}};
    EXPECT_EQ(AddinDirectory(), appData / "VexTools");
    EXPECT_EQ(SettingsFilePath(), appData / "VexTools" / "settings.ini");
    vex::testing::ScopedEnv given{{"VEXTOOLS_SETTINGS", "D:\\s.ini"}, {"VEXTOOLS_HOME", "D:\\v"}};
    EXPECT_EQ(SettingsFilePath(), std::filesystem::path("D:\\s.ini"));
    EXPECT_EQ(AddinDirectory(), std::filesystem::path("D:\\v"));
}

}  // namespace
}  // namespace vex::settings
