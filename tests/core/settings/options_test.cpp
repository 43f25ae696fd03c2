#include "settings/options.h"

#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "fakes/host_fixture.h"
#include "fakes/scoped_env.h"
#include "settings/memory_settings_store.h"
#include "text/cp1252.h"

namespace vex::settings {
namespace {

size_t LineCount(const std::string& s) {
    size_t n = 1;
    for (size_t i = s.find("\r\n"); i != std::string::npos; i = s.find("\r\n", i + 2)) ++n;
    return n;
}

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

TEST(Options, TemplatesAreExactlyTheDocumentedLines) {
    const std::string engine = defaults::EngineErrorCodeClose();
    const std::string dialog = defaults::DialogErrorCodeClose();
    EXPECT_EQ(LineCount(engine), 11u);
    EXPECT_EQ(LineCount(dialog), 9u);
    EXPECT_EQ(engine.substr(0, 34), "Exit $$SubFunction$$\r\nErreurOrvel:");
    EXPECT_NE(engine.find("\r\nSelect Case gestErreur(\"$$ProcedureName$$\", Err, Erl)\r\n   Case vbRetry\r\n"
                          "       Err = 0\r\n       Resume\r\n   Case vbIgnore\r\n       Err = 0\r\n"
                          "      Resume Next\r\n  Case vbAbort\r\nEnd Select"),
              std::string::npos);
    EXPECT_EQ(engine.substr(engine.size() - 10), "End Select") << "no line break after the last line";
    EXPECT_EQ(dialog.find("Err = 0"), std::string::npos);
    EXPECT_NE(dialog.find("\r\nvexErrorHandler:\r\nSelect Case MsgBox(\"Error number : \" & Err.Number & vbCr & "
                          "Err.Description, vbCritical + vbAbortRetryIgnore)\r\n   Case vbRetry\r\n       Resume\r\n"),
              std::string::npos);
}

TEST(Options, ReadersConvertStoredTextOrTheDefault) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadLong32(store, key::kLineJump, 10), 10);
    EXPECT_EQ(ReadInt16(store, key::kTabulation, 4), 4);
    EXPECT_TRUE(ReadBoolean(store, key::kResetLineNumber, 1));

    const struct {
        const char* stored;
        int16_t tabulation;
    } tabs[] = {{"2.5", 2}, {"3.5", 4}, {" 8 ", 8}, {"-1", -1}};
    for (const auto& t : tabs) {
        store.Save(key::kTabulation, t.stored);
        EXPECT_EQ(ReadInt16(store, key::kTabulation, 4), t.tabulation) << t.stored;
    }
    store.Save(key::kLineJump, "100000");
    EXPECT_EQ(ReadLong32(store, key::kLineJump, 10), 100000);
    store.Save(key::kResetLineNumber, "0");
    EXPECT_FALSE(ReadBoolean(store, key::kResetLineNumber, 1));

    const struct {
        std::string_view key;
        const char* stored;
        int number;
    } bad[] = {{key::kTabStart, "x", errors::code::kTypeMismatch},
               {key::kTabStart, "40000", errors::code::kOverflow},
               {key::kLineJump, "", errors::code::kTypeMismatch},
               {key::kResetLineNumber, "yes", errors::code::kTypeMismatch}};
    for (const auto& b : bad) {
        store.Save(b.key, b.stored);
        try {
            if (b.key == key::kResetLineNumber)
                (void)ReadBoolean(store, b.key, 1);
            else if (b.key == key::kLineJump)
                (void)ReadLong32(store, b.key, 10);
            else
                (void)ReadInt16(store, b.key, 4);
            ADD_FAILURE() << b.key << " converted " << b.stored;
        } catch (const errors::RuntimeError& e) {
            EXPECT_EQ(e.Number(), b.number) << b.key << " " << b.stored;
        }
    }
}

TEST(Options, LoadOptionsOnAnEmptyStoreUsesTheEngineSet) {
    MemorySettingsStore store;
    const LoadedOptions o = LoadOptions(store);
    EXPECT_EQ(o.strErrorKey, "%Manage Error%");
    EXPECT_EQ(o.strSeparatorLine, "'########## %Manage Error% ##########");
    EXPECT_EQ(o.strNoErrorKey, " %No Manage Error%");
    EXPECT_EQ(o.strErrorCodeStart, "On Error GoTo ErreurOrvel");
    EXPECT_EQ(o.strErrorCodeClose, defaults::EngineErrorCodeClose());
    EXPECT_TRUE(o.blnViewResult);
}

TEST(Options, LoadOptionsTakesStoredValues) {
    MemorySettingsStore store;
    store.Save(key::kErrorKey, "");
    store.Save(key::kViewResult, "0");
    store.Save(key::kErrorCodeStart, "On Error GoTo H");
    LoadedOptions o = LoadOptions(store);
    EXPECT_EQ(o.strSeparatorLine, "'##########  ##########");
    EXPECT_EQ(o.strErrorCodeStart, "On Error GoTo H");
    EXPECT_FALSE(o.blnViewResult);

    store.Save(key::kErrorKey, "abc");
    EXPECT_EQ(LoadOptions(store).strSeparatorLine, "'########## abc ##########");

    store.Save(key::kViewResult, "vrai");
    try {
        (void)LoadOptions(store);
        FAIL();
    } catch (const errors::RuntimeError& e) {
        EXPECT_EQ(e.Number(), errors::code::kTypeMismatch);
    }
}

TEST(Options, ValuesReachCodeInWindows1252AndLossIsNoticed) {
    MemorySettingsStore store;
    store.Save(key::kErrorKey, "%Gestión Error%");
    store.Save(key::kNoErrorKey, "sans 日本");
    vex::testing::RecordingNotices notices;
    const LoadedOptions o = LoadOptionsForCode(store, &notices);
    EXPECT_EQ(o.strErrorKey, "%Gesti\xF3n Error%");
    EXPECT_EQ(o.strSeparatorLine, "'########## %Gesti\xF3n Error% ##########");
    EXPECT_NE(text::IFind("' %GESTI\xD3N ERROR% here", o.strErrorKey), std::string::npos);
    EXPECT_EQ(o.strNoErrorKey, "sans ??");
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
