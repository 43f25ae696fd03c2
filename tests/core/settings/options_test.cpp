#include "settings/options.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "fakes/scoped_env.h"
#include "settings/memory_settings_store.h"

namespace vex::settings {
namespace {

TEST(Options, DefaultsOfEveryKeyForEngineAndDialog) {
    vex::testing::ScopedEnv env{{"VEXTOOLS_HOME", "/opt/vex"}};
    struct Case {
        std::string_view key;
        std::string engine;
        std::string dialog;
    };
    const Case cases[] = {
        {key::kLineJump, "10", "10"},
        {key::kResetLineNumber, "1", "1"},
        {key::kErrorKey, "%Manage Error%", "%Manage Error%"},
        {key::kNoErrorKey, " %No Manage Error%", " %No Manage Error%"},
        {key::kErrorCodeStart, "On Error GoTo ErreurOrvel", "On Error GoTo vexErrorHandler"},
        {key::kErrorCodeClose, defaults::EngineErrorCodeClose(), defaults::DialogErrorCodeClose()},
        {key::kViewResult, "1", "1"},
        {key::kTabulation, "4", "4"},
        {key::kTabStart, "4", "4"},
        {key::kDisplayVexToolsOnConnect, "0", "0"},
        {key::kBackupDir, "/opt/vex", "/opt/vex"},
    };
    ASSERT_EQ(std::size(cases), kAllKeys.size());
    for (const auto& c : cases) {
        EXPECT_TRUE(IsKnownKey(c.key));
        EXPECT_EQ(EngineDefault(c.key), c.engine) << c.key;
        EXPECT_EQ(DialogDefault(c.key), c.dialog) << c.key;
    }
    EXPECT_FALSE(IsKnownKey("linejump")) << "keys are spelled exactly";
}

TEST(Options, ReadersConvertStoredTextOrTheDefault) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadInt16(store, key::kTabulation, 4), 4);
    for (auto [stored, tabulation] : {std::pair{"2.5", 2}, {"3.5", 4}, {" 8 ", 8}}) {
        store.Save(key::kTabulation, stored);
        EXPECT_EQ(ReadInt16(store, key::kTabulation, 4), tabulation) << stored;
    }
}

TEST(Options, TextTheCodePageCannotHoldBecomesAQuestionMarkAndIsNoticed) {
    MemorySettingsStore store;
    store.Save(key::kNoErrorKey, "sans 日本");
    vex::testing::RecordingNotices notices;
    EXPECT_EQ(LoadOptionsForCode(store, &notices).strNoErrorKey, "sans ??");
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_NE(notices.notices[0].find("NoErrorKey"), std::string::npos);
}

TEST(Options, ToolWindowShowsOnConnectOnlyForExactlyOne) {
    MemorySettingsStore store;
    EXPECT_FALSE(ShowToolWindowOnConnect(store));
    for (const char* stored : {"01", " 1", "1 ", "-1", "2", "True", ""}) {
        store.Save(key::kDisplayVexToolsOnConnect, stored);
        EXPECT_FALSE(ShowToolWindowOnConnect(store)) << '"' << stored << '"';
    }
    store.Save(key::kDisplayVexToolsOnConnect, "1");
    EXPECT_TRUE(ShowToolWindowOnConnect(store));
}

}  // namespace
}  // namespace vex::settings
