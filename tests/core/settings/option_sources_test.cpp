// Where a run's options come from: the team's .vextools.ini found upward, and the order of the sources.

#include "settings/option_sources.h"

#include <gtest/gtest.h>

#include "fakes/platform.h"
#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"
#include "settings/ini_settings_store.h"
#include "settings/memory_settings_store.h"

namespace vex::settings {
namespace {

namespace fs = std::filesystem;
using vex::testing::ScratchDir;

void Store(const fs::path& file, std::string_view key, std::string_view value) {
    fs::create_directories(file.parent_path());
    IniSettingsStore(file).Save(key, value);
}

TEST(OptionSources, TheNearestTeamFileAboveTheStartCounts) {
    ScratchDir dir;
    vex::testing::WriteFile(dir / "repo/app/forms/frmMain.frm", "");
    vex::testing::WriteFile(dir / "repo/.vextools.ini", "");
    fs::create_directories(dir / "repo/app/.vextools.ini");  // a folder of that name is no file
    const struct {
        const char* start;
        const char* found;
    } cases[] = {{"repo", "repo/.vextools.ini"},
                 {"repo/app/forms", "repo/.vextools.ini"},
                 {"repo/app/forms/frmMain.frm", "repo/.vextools.ini"},
                 {"repo/app/forms/missing.vbp", "repo/.vextools.ini"}};
    for (const auto& c : cases) {
        const auto found = FindTeamFile(dir / c.start);
        ASSERT_TRUE(found) << c.start;
        EXPECT_TRUE(fs::equivalent(*found, dir / c.found)) << c.start;
    }
    vex::testing::WriteFile(dir / "repo/app/forms/.vextools.ini", "");
    EXPECT_TRUE(fs::equivalent(*FindTeamFile(dir / "repo/app/forms"), dir / "repo/app/forms/.vextools.ini"));
    const auto above = FindTeamFile(dir.Path());
    EXPECT_TRUE(!above || above->string().find(dir.Path().string()) == std::string::npos);
}

TEST(OptionSources, TheHighestSourceHoldingAKeyGivesItsValueAndWritesGoToTheUsersStore) {
    // Each case stores LineJump in some of the sources (run values, --settings, $VEXTOOLS_SETTINGS, the
    // team's file, the per-user store) and names the source the value must come from.
    enum : unsigned { kRun = 1, kExplicit = 2, kEnv = 4, kTeam = 8, kUser = 16 };
    const struct {
        unsigned holders;
        unsigned given;  // kExplicit / kEnv: whether --settings and $VEXTOOLS_SETTINGS are given at all
        unsigned expected;
        unsigned written;
    } cases[] = {
        {kRun | kExplicit | kEnv | kTeam | kUser, kExplicit | kEnv, kRun, kExplicit},
        {kExplicit | kEnv | kTeam | kUser, kExplicit | kEnv, kExplicit, kExplicit},
        {kEnv | kTeam | kUser, kEnv, kEnv, kEnv},
        {kTeam | kUser, kExplicit, kTeam, kExplicit},
        {kTeam | kUser, 0, kTeam, kUser},
        {kUser, 0, kUser, kUser},
        {kUser, kEnv, 0, kEnv},  // a file chosen for the run takes the per-user store's place
        {0, 0, 0, kUser},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "holders " << c.holders << ", given " << c.given);
        if (vex::testing::kWindows && ((c.holders | c.written) & kUser))
            continue;  // there the per-user store is the registry, which tests leave alone
        ScratchDir dir;
        const std::map<unsigned, fs::path> files = {{kExplicit, dir / "explicit.ini"},
                                                    {kEnv, dir / "env.ini"},
                                                    {kTeam, dir / "repo/.vextools.ini"},
                                                    {kUser, dir / "xdg/vextools/settings.ini"}};
        for (const auto& [source, file] : files)
            if (c.holders & source) Store(file, "LineJump", std::to_string(source));
        fs::create_directories(dir / "repo/app");
        const std::string env = files.at(kEnv).string(), xdg = (dir / "xdg").string();
        vex::testing::ScopedEnv vars{{"VEXTOOLS_SETTINGS", (c.given & kEnv) ? env.c_str() : nullptr},
                                     {"XDG_CONFIG_HOME", xdg.c_str()}};
        SourceRequest request;
        if (c.holders & kRun) {
            request.runValues = std::make_unique<MemorySettingsStore>();
            request.runValues->Save("LineJump", std::to_string(kRun));
        }
        if (c.given & kExplicit) request.explicitFile = files.at(kExplicit);
        request.searchFrom = dir / "repo/app/Project.vbp";
        auto store = OpenOptionSources(std::move(request));

        EXPECT_EQ(store->Get("LineJump", "0"), std::to_string(c.expected));
        const std::string origin = store->Origin("LineJump");
        if (c.expected == kRun) EXPECT_EQ(origin, "--set");
        else if (c.expected) EXPECT_TRUE(fs::equivalent(origin, files.at(c.expected))) << origin;
        else EXPECT_EQ(origin, "");

        store->Save("TabStart", "9");
        for (const auto& [source, file] : files)
            EXPECT_EQ(IniSettingsStore(file).Find(kApplication, kSection, "TabStart").has_value(), source == c.written)
                << file;
    }
}

}  // namespace
}  // namespace vex::settings
