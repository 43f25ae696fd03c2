#include "settings/ini_settings_store.h"

#include <gtest/gtest.h>

#include "fakes/raised.h"
#include "fakes/scratch_dir.h"
#include "settings/options.h"

namespace vex::settings {
namespace {

using vex::testing::ReadFile;
using vex::testing::ScratchDir;
using vex::testing::WriteFile;

TEST(IniSettingsStore, AMissingFileHoldsNothingAndEveryValueSavedReadsBackExactlyFromANewStore) {
    ScratchDir dir;
    const auto file = dir / "sub" / "settings.ini";  // the directory is created on the first save
    const std::pair<std::string_view, std::string> values[] = {
        {key::kErrorCodeClose, defaults::EngineErrorCodeClose()},
        {key::kNoErrorKey, " %No Manage Error%"},
        {key::kErrorKey, "%Gestión Error% = ; # [x] \"q\" \\ "},
        {key::kErrorCodeStart, ""},
    };
    {
        IniSettingsStore store(file);
        EXPECT_EQ(store.Get(key::kLineJump, "10"), "10");
        EXPECT_FALSE(std::filesystem::exists(file.parent_path())) << "reading a missing file creates nothing";
        for (const auto& [k, v] : values) store.Save(k, v);
    }
    IniSettingsStore again(file);
    for (const auto& [k, v] : values) EXPECT_EQ(again.Find(kApplication, kSection, k), v) << k;
    EXPECT_EQ(again.Get(key::kErrorCodeStart, "default"), "") << "a key stored empty is not absent";
    EXPECT_EQ(again.Find(kApplication, kSection, key::kLineJump), std::nullopt);
}

TEST(IniSettingsStore, WritesLeaveNoTemporaryFilesAndKeepHandEdits) {
    ScratchDir dir;
    const auto file = dir / "settings.ini";
    WriteFile(file, "; my notes\n\n[Compléments ORVEL/VexTools]\nLineJump=20\n");
    IniSettingsStore store(file);
    store.Save(key::kTabulation, "8");
    EXPECT_EQ(store.Get(key::kLineJump, ""), "20");
    EXPECT_NE(ReadFile(file).find("; my notes"), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const auto name = entry.path().filename().string();
        EXPECT_TRUE(name == "settings.ini" || name == ".settings.ini.lock") << name;
    }
}

TEST(IniSettingsStore, ASymlinkedFileStaysALink) {
    ScratchDir dir;
    VEX_SKIP_ON_WINDOWS("symbolic links need rights a user does not have by default");
    WriteFile(dir / "real.ini", "");
    std::filesystem::create_symlink("real.ini", dir / "settings.ini");
    IniSettingsStore store(dir / "settings.ini");
    store.Save(key::kLineJump, "5");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "settings.ini"));
    EXPECT_NE(ReadFile(dir / "real.ini").find("LineJump=5"), std::string::npos);
}

TEST(IniSettingsStore, AnUnwritableLocationThrowsNamingTheFile) {
    ScratchDir dir;
    WriteFile(dir / "plain", "x");
    IniSettingsStore store(dir / "plain" / "settings.ini");  // a path under a regular file
    EXPECT_NE(vex::testing::Raised([&] { store.Save(key::kLineJump, "1"); }).Description().find("plain"),
              std::string::npos);
}

}  // namespace
}  // namespace vex::settings
