#include "settings/options.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "settings/memory_settings_store.h"

namespace vex::settings {
namespace {

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
