#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/cli_sandbox.h"
#include "settings/ini_settings_store.h"
#include "settings/options.h"

namespace vex::cli {
namespace {

const char* const kTemplate = "Exit $$SubFunction$$\\r\\n   Resume Next \\r\\nEnd Select";
const char* const kTemplateLines = "Exit $$SubFunction$$\r\n   Resume Next \r\nEnd Select";

class OptionsVerbs : public ::testing::Test {
protected:
    vex::testing::CliResult Vex(std::vector<std::string> args) { return box.Vex(std::move(args)); }
    vex::testing::CliSandbox box;
    std::filesystem::path file = box.settings;
};

// One sandbox, step after step: get prints what the next action would use, set turns escaped breaks into
// lines (--raw stores the text as it is), a value stored empty is not the default, reset stores the dialog's.
TEST_F(OptionsVerbs, GetShowsWhatTheNextActionUsesSetTurnsEscapesIntoLinesResetStoresTheDialogDefaults) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } steps[] = {
        {{"options", "get", "ErrorCodeStart"}, "On Error GoTo ErreurOrvel\n"},
        {{"options", "get", "ErrorCodeClose"}, settings::defaults::EngineErrorCodeClose() + "\n"},
        {{"options", "get", "NoErrorKey"}, " %No Manage Error%\n"},
        {{"options", "get", "LineJump"}, "10\n"},
        {{"options", "get", "Backup Dir"}, box.dir.Path().string() + "\n"},
        {{"options", "set", "ErrorCodeClose", kTemplate}, ""},
        {{"options", "get", "ErrorCodeClose"}, std::string(kTemplateLines) + "\n"},
        {{"options", "set", "--raw", "LineJump", "x"}, ""},
        {{"options", "set", "--raw", "ErrorCodeStart", "a\\r\\nb"}, ""},
        {{"options", "get", "LineJump"}, "x\n"},
        {{"options", "get", "ErrorCodeStart"}, "a\\r\\nb\n"},
        {{"options", "set", "ErrorKey", ""}, ""},
        {{"options", "get", "ErrorKey"}, "\n"},
        {{"options", "reset"}, ""},
        {{"options", "get", "ErrorKey"}, "%Manage Error%\n"},
        {{"options", "get", "ErrorCodeStart"}, "On Error GoTo vexErrorHandler\n"},
    };
    for (const auto& step : steps) {
        const auto r = Vex(step.args);
        SCOPED_TRACE(step.args[1] + " " + step.args.back());
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, step.out);
    }
    EXPECT_EQ(Vex({"options", "list"}).out.find("ViewResult = \"1\" (default)"), std::string::npos);
}

TEST_F(OptionsVerbs, ListShowsEveryKeyAndWhereItsValueComesFrom) {
    EXPECT_EQ(Vex({"options", "set", "Tabulation", "8"}).code, 0);
    vex::testing::WriteFile(box.dir / ".vextools.ini", "[Compléments ORVEL/VexTools]\nlinejump=20\nTabStart=2\n");
    const auto r = Vex({"--set", "tabstart=3", "options", "list", box.project});
    EXPECT_EQ(r.code, 0) << r.err;
    for (auto k : settings::kAllKeys) EXPECT_NE(r.out.find(std::string(k) + " = "), std::string::npos) << k;
    for (const std::string& line : {"Tabulation = \"8\" (" + file.string() + ")\n",
                                   "LineJump = \"20\" (" + (box.dir / ".vextools.ini").string() + ")\n",
                                   std::string("TabStart = \"3\" (--set)\n"),
                                   std::string("ViewResult = \"1\" (default)\n"),
                                   std::string("ErrorCodeClose = \"Exit $$SubFunction$$\\r\\nErreurOrvel:")})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    // Keys in any letter case, a near miss named; values follow the dialog's rules; nothing refused is stored.
    EXPECT_EQ(Vex({"options", "get", "tabulation"}).out, "8\n");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {{{"options", "get", "Tabulaton"}, "unknown option key \"Tabulaton\"; did you mean \"Tabulation\"?"},
                   {{"options", "set", "linjump", "5"}, "did you mean \"LineJump\"?"},
                   {{"--set", "LineJump=x", "options", "list"}, "LineJump takes a number"},
                   {{"options", "set", "Nope", "1"}, "unknown option key \"Nope\"; the keys are"},
                   {{"options", "set", "TabStart", "x"}, "TabStart takes a number; \"x\" was not stored"},
                   {{"--set", "LineJump", "options", "list"}, "--set takes KEY=VALUE"}};
    const std::string stored = vex::testing::ReadFile(file);
    for (const auto& c : refused) {
        const auto bad = Vex(c.args);
        EXPECT_EQ(bad.code, 2) << c.message;
        EXPECT_EQ(bad.out, "") << c.message;
        EXPECT_NE(bad.err.find(c.message), std::string::npos) << bad.err;
    }
    EXPECT_EQ(vex::testing::ReadFile(file), stored);
}

TEST_F(OptionsVerbs, ATeamFileAndSetChangeTheRunAndABrokenTeamFileFailsIt) {
    vex::testing::WriteFile(box.dir / "sample" / ".vextools.ini", "[Compléments ORVEL/VexTools]\nLineJump=20\nTabStrat=2\n");
    const auto team = Vex({"number", "--dry-run", box.project, "--component", "modUtil"});
    EXPECT_NE(team.err.find(".vextools.ini: unknown option key \"TabStrat\"; did you mean \"TabStart\"?"),
              std::string::npos)
        << team.err;
    EXPECT_NE(team.out.find("\n+20 "), std::string::npos) << team.out.substr(0, 600);
    EXPECT_EQ(team.out.find("\n+10 "), std::string::npos);
    const auto set = Vex({"number", "--dry-run", "--set", "LineJump=5", box.project, "--component", "modUtil"});
    EXPECT_NE(set.out.find("\n+5 "), std::string::npos) << set.out.substr(0, 600);

    vex::testing::WriteFile(box.dir / "sample" / ".vextools.ini", "not ini\n");
    const auto broken = Vex({"number", "--check", box.project});
    EXPECT_EQ(broken.code, 3);
    EXPECT_NE(broken.err.find(".vextools.ini line 1"), std::string::npos) << broken.err;
}

TEST_F(OptionsVerbs, AnUnparseableStoreFailsClearlyAndStaysAsItIs) {
    vex::testing::WriteFile(file, "[Compléments ORVEL/VexTools]\nbroken\n");
    const auto r = Vex({"options", "set", "LineJump", "5"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find(file.string() + " line 2"), std::string::npos) << r.err;
    EXPECT_EQ(vex::testing::ReadFile(file), "[Compléments ORVEL/VexTools]\nbroken\n");
}

TEST_F(OptionsVerbs, TwoProcessesWritingAtOnceKeepBothKeys) {
    VEX_SKIP_ON_WINDOWS("the two processes are started by a POSIX shell");
    // Each process saves its own key many times; without the lock a save based on a stale read would put
    // back the other process's older value.
    const std::string vex = std::string(VEXTOOLS_BINARY) + " --settings '" + file.string() + "' options set ";
    const std::string script = "for i in $(seq 1 15); do " + vex + "LineJump $i || exit 1; done & " +
                               "for i in $(seq 1 15); do " + vex + "ErrorCodeClose \"line $i\\r\\nEnd\" || exit 1; done & " +
                               "wait";
    ASSERT_EQ(std::system(script.c_str()), 0);
    settings::IniSettingsStore store(file);
    EXPECT_EQ(store.Get("LineJump", ""), "15");
    EXPECT_EQ(store.Get("ErrorCodeClose", ""), "line 15\r\nEnd");
}

}  // namespace
}  // namespace vex::cli
