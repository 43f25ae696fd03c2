#include "settings/options_model.h"

#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "fakes/host_fixture.h"
#include "settings/memory_settings_store.h"
#include "settings/options.h"

namespace vex::settings {
namespace {

using vex::testing::ScriptedErrorReport;

// A store whose saves of one key fail a given number of times.
class FailingStore : public MemorySettingsStore {
public:
    void SaveSetting(std::string_view app, std::string_view section, std::string_view k,
                     std::string_view value) override {
        if (k == failingKey && failures > 0) {
            --failures;
            throw errors::RuntimeError(errors::code::kPermissionDenied, "Permission denied");
        }
        MemorySettingsStore::SaveSetting(app, section, k, value);
    }
    std::string_view failingKey;
    int failures = 0;
};

std::optional<std::string> Stored(const SettingsStore& s, std::string_view k) {
    return s.Find(kApplication, kSection, k);
}

TEST(OptionsModel, OkOnAnEmptyStoreStoresTheDialogSetWhichTheEngineThenUses) {
    MemorySettingsStore store;
    ScriptedErrorReport report;
    OptionsModel model(store);
    model.ChargeOptions();
    EXPECT_TRUE(model.Apply(report));
    EXPECT_TRUE(report.Reported().empty());

    const LoadedOptions o = LoadOptions(store);
    EXPECT_EQ(o.strErrorCodeStart, "On Error GoTo vexErrorHandler");
    EXPECT_EQ(o.strErrorCodeClose, defaults::DialogErrorCodeClose());
    for (auto [k, v] : {std::pair{key::kLineJump, "10"}, {key::kResetLineNumber, "1"}, {key::kErrorKey, "%Manage Error%"},
                        {key::kNoErrorKey, " %No Manage Error%"}, {key::kViewResult, "1"}, {key::kTabulation, "4"},
                        {key::kTabStart, "4"}})
        EXPECT_EQ(Stored(store, k), v) << k;
    EXPECT_EQ(Stored(store, key::kDisplayVexToolsOnConnect), std::nullopt) << "not the dialog's key";
}

TEST(OptionsModel, ApplyRulesPerControl) {
    MemorySettingsStore store;
    store.Save(key::kLineJump, "20");
    store.Save(key::kTabulation, "8");
    ScriptedErrorReport report;
    OptionsModel model(store);
    model.ChargeOptions();

    model.form.txtIncrement = "x";
    model.form.chkResetIncrement = check::kGrayed;
    model.form.chkViewResult = check::kUnchecked;
    model.form.txtSeparatrice = "";
    model.form.txtTabulation = "x";
    model.form.txtTabInit = "2.5";
    EXPECT_TRUE(model.Apply(report));

    EXPECT_EQ(model.form.txtIncrement, "20") << "the box snaps back to the stored value";
    EXPECT_EQ(Stored(store, key::kLineJump), "20");
    EXPECT_EQ(Stored(store, key::kResetLineNumber), "1") << "a grayed check box saves 1";
    EXPECT_EQ(Stored(store, key::kViewResult), "0");
    EXPECT_EQ(Stored(store, key::kErrorKey), "") << "an empty text is saved too";
    EXPECT_EQ(Stored(store, key::kTabulation), "8") << "a non-numeric Tabulation keeps its stored value";
    EXPECT_EQ(Stored(store, key::kTabStart), "2.5") << "saved as typed";
    EXPECT_EQ(ReadInt16(store, key::kTabStart, 4), 2);
    EXPECT_TRUE(report.Reported().empty()) << "no message for a refused number";

    MemorySettingsStore empty;
    OptionsModel fresh(empty);
    fresh.form = DialogDefaults();
    fresh.form.txtIncrement = "";
    EXPECT_TRUE(fresh.Apply(report));
    EXPECT_EQ(fresh.form.txtIncrement, "10") << "nothing stored: the box shows the default";
    EXPECT_EQ(Stored(empty, key::kLineJump), std::nullopt);
}

TEST(OptionsModel, AFailingStepIsRetriedIgnoredOrEndsApply) {
    struct Case {
        const char* name;
        std::vector<host::Answer> answers;
        int failures;
        bool completes;
        bool errorCodeStartSaved;
        bool tabStartSaved;
    };
    const Case cases[] = {
        {"retry until it works", {host::Answer::Retry, host::Answer::Retry}, 2, true, true, true},
        {"ignore skips the step", {host::Answer::Ignore}, 1, true, false, true},
        {"abort keeps the later keys", {host::Answer::Abort}, 1, false, false, false},
    };
    for (const auto& c : cases) {
        FailingStore store;
        store.failingKey = key::kErrorCodeStart;
        store.failures = c.failures;
        ScriptedErrorReport report;
        report.answers.assign(c.answers.begin(), c.answers.end());
        OptionsModel model(store);
        model.form = DialogDefaults();
        EXPECT_EQ(model.Apply(report), c.completes) << c.name;
        EXPECT_EQ(Stored(store, key::kErrorCodeStart).has_value(), c.errorCodeStartSaved) << c.name;
        EXPECT_EQ(Stored(store, key::kTabStart).has_value(), c.tabStartSaved) << c.name;
        ASSERT_EQ(report.Reported().size(), c.answers.size()) << c.name;
        EXPECT_EQ(report.Reported()[0].procedure, "frmOption // Apply");
        EXPECT_EQ(report.Reported()[0].number, errors::code::kPermissionDenied);
    }
}

TEST(OptionsModel, SetOptionFollowsTheDialogsRules) {
    struct Case {
        std::string_view key;
        const char* value;
        SetOutcome outcome;
        std::optional<std::string> stored;
    };
    const Case cases[] = {
        {key::kLineJump, "x", SetOutcome::NotNumeric, std::nullopt},
        {key::kTabulation, "", SetOutcome::NotNumeric, std::nullopt},
        {key::kTabStart, "abc", SetOutcome::NotNumeric, std::nullopt},
        {key::kLineJump, "0", SetOutcome::Refused, std::nullopt},
        {key::kLineJump, "-5", SetOutcome::Refused, std::nullopt},
        {key::kErrorKey, "a\r\nb", SetOutcome::Refused, std::nullopt},
        {key::kNoErrorKey, "a\nb", SetOutcome::Refused, std::nullopt},
        {key::kLineJump, " 2.5 ", SetOutcome::Stored, " 2.5 "},
        {key::kViewResult, "2", SetOutcome::Stored, "1"},
        {key::kViewResult, "0", SetOutcome::Stored, "0"},
        {key::kResetLineNumber, "no", SetOutcome::NotNumeric, std::nullopt},
        {key::kErrorKey, "", SetOutcome::Stored, ""},
        {key::kDisplayVexToolsOnConnect, "01", SetOutcome::Stored, "01"},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        EXPECT_EQ(SetOption(store, c.key, c.value), c.outcome) << c.key << " " << c.value;
        EXPECT_EQ(Stored(store, c.key), c.stored) << c.key << " " << c.value;
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
