// The code verbs (number, unnumber, delete-lines, add-handlers, remove-handlers, indent) on the sample project.

#include <cstdlib>
#include <gtest/gtest.h>

#include "fakes/cli_sandbox.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using vex::testing::CliSandbox;
using vex::testing::Count;
using vex::testing::Listing;
using vex::testing::ScratchDir;
using vex::testing::WriteFile;

// --check writes nothing, the --dry-run diff applied by git gives the bytes the run writes, a second run
// changes nothing, and the undo verb gives back the project exactly.
TEST(CodeVerbs, EachVerbsDiffAppliesTwiceEqualsOnceAndItsUndoRestoresTheProjectExactly) {
    const bool git = std::system("git --version >/dev/null 2>&1") == 0;
    const struct {
        const char *verb, *undo, *summary;
        bool printsLog;
    } cases[] = {{"number", "unnumber", "1 project(s), 3 file(s) changed, 0 file(s) failed, 173 line(s) changed", false},
                 {"add-handlers", "remove-handlers", "1 project(s), 3 file(s) changed", true},
                 {"indent", nullptr, "1 project(s), 3 file(s) changed", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verb);
        CliSandbox box;
        const auto original = box.Snapshot();
        EXPECT_EQ(box.Vex({c.verb, box.project, "--check"}).code, 1);
        const fs::path cwd = fs::current_path();
        fs::current_path(box.dir.Path());  // the diff names the files from here
        const auto dry = box.Vex({c.verb, box.project, "--dry-run"});
        fs::current_path(cwd);
        EXPECT_EQ(dry.code, 0) << dry.err;
        EXPECT_TRUE(box.Snapshot() == original) << "--check and --dry-run write nothing";

        const auto once = box.Vex({c.verb, box.project});
        EXPECT_EQ(once.code, 0) << once.err;
        EXPECT_NE(once.err.find(c.summary), std::string::npos) << once.err;
        EXPECT_EQ(once.out.empty(), !c.printsLog) << once.out;
        const auto changed = box.Snapshot();
        EXPECT_FALSE(changed == original);
        EXPECT_EQ(changed.at("frmMain.frx"), original.at("frmMain.frx"));
        if (git) {
            ScratchDir copy;
            for (const auto& [name, bytes] : original) WriteFile(copy / "sample" / name, bytes);
            WriteFile(copy / "p.diff", dry.out);
            EXPECT_EQ(std::system(("cd '" + copy.Path().string() + "' && git apply -p1 p.diff").c_str()), 0);
            EXPECT_TRUE(Listing(copy / "sample") == changed) << "the diff gives what the run wrote";
        }

        EXPECT_EQ(box.Vex({c.verb, box.project, "--check"}).code, 0) << "twice differs from once";
        if (c.undo) {
            EXPECT_EQ(box.Vex({c.undo, box.project}).code, 0);
            EXPECT_TRUE(box.Snapshot() == original) << c.undo << " did not restore the project";
        }
    }
}

TEST(CodeVerbs, HandlerVerbsPrintTheResultLogAndAppendItToTheLogFile) {
    CliSandbox box;
    const auto add = box.Vex({"add-handlers", box.project});
    // Printed as the results window shows it, one line per line.
    EXPECT_EQ(add.out.find("\r"), std::string::npos);
    EXPECT_NE(add.out.find("\n Procedure with new error handler.\n " + std::string(45, '-') + "\n\nfrmMain\n"),
              std::string::npos)
        << add.out;
    EXPECT_GT(Count(add.out, "-> Add beginning code"), 10u);
    EXPECT_EQ(Count(add.out, "-> Add beginning code"), Count(add.out, "-> Add terminate code"));

    const auto logFile = box.dir / "Resultat.txt";
    const auto remove = box.Vex({"remove-handlers", box.project, "--log", logFile.string()});
    EXPECT_EQ(remove.out, "") << "with --log the result log goes to the file only";
    const std::string saved = vex::testing::ReadFile(logFile);
    EXPECT_NE(saved.find("\r\n Procedure with remove code.\r\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("section(s) removed\r\n"));

    ASSERT_EQ(box.Vex({"options", "set", "ViewResult", "0"}).code, 0);
    EXPECT_EQ(box.Vex({"add-handlers", box.project, "--check"}).out, "") << "ViewResult off prints no log";
}

TEST(CodeVerbs, AMistypedVerbOrComponentIsAUsageErrorNamingTheNearest) {
    CliSandbox box;
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"indent", box.project, "--component", "modutil"},
         "no component named \"modutil\" in the project; did you mean modUtil?"},
        {{"--set", "LineJump=5", "-q", "numbr", box.project}, "unknown verb \"numbr\"; did you mean number"},
        {{"show", box.project, "modutl"}, "no component named \"modutl\" in the project; did you mean modUtil?"},
    };
    for (const auto& c : cases) {
        const auto r = box.Vex(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST(CodeVerbs, DeleteLinesTakesTheKeywordAsGiven) {
    CliSandbox box;
    const auto original = box.Snapshot();
    EXPECT_EQ(box.Vex({"delete-lines", box.project, "--keyword", ""}).code, 0);
    EXPECT_TRUE(box.Snapshot() == original) << "an empty keyword does nothing";
    EXPECT_EQ(box.Vex({"delete-lines", box.project, "--keyword", "\xE2\x82\xAC\xF0\x9F\x98\x80"}).code, 2)
        << "no code holds an emoji";
    EXPECT_EQ(box.Vex({"delete-lines", box.project, "--keyword", "debug.print"}).code, 0);
    EXPECT_TRUE(box.Snapshot() == original) << "letter case counts";
    EXPECT_EQ(box.Vex({"delete-lines", box.project}).code, 0);
    for (const auto& [name, bytes] : box.Snapshot()) EXPECT_EQ(bytes.find("Debug.Print"), std::string::npos) << name;
}

TEST(CodeVerbs, AnAbortedRunSavesNothingAndTheLogIsAppended) {
    CliSandbox box;
    ASSERT_EQ(box.Vex({"options", "set", "--raw", "LineJump", "abc"}).code, 0);
    const auto original = box.Snapshot();
    const std::string log = (box.dir / "result.txt").string();
    const auto r = box.Vex({"number", box.project, "--log", log});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(box.Snapshot() == original);
    EXPECT_NE(r.err.find("nothing saved"), std::string::npos) << r.err;
    EXPECT_NE(vex::testing::ReadFile(box.dir / "List_Err.log").find("modEtude // StudyLineNumber"), std::string::npos);
    EXPECT_EQ(box.Vex({"unnumber", box.project, "--log", log}).code, 0);
    EXPECT_EQ(vex::testing::ReadFile(log), "\r\n\r\n") << "each run appends its (empty) log and a line break";
    EXPECT_EQ(box.Vex({"unnumber", box.project, "--log", (box.dir / "no" / "log.txt").string()}).code, 3);
}

TEST(CodeVerbs, SeveralInputsPerCallWorkOnEachSharedFileOnce) {
    CliSandbox box;
    vex::testing::WriteFile(box.dir / "other" / "Other.vbp",
                            "Type=Exe\r\nModule=modUtil; ..\\sample\\modUtil.bas\r\nModule=modOther; modOther.bas\r\n"
                            "Name=\"Other\"\r\n");
    vex::testing::WriteFile(box.dir / "other" / "modOther.bas",
                            "Attribute VB_Name = \"modOther\"\r\nSub Go()\r\n    Dim x\r\n    x = 1\r\nEnd Sub\r\n");
    vex::testing::WriteFile(box.dir / "G.vbg", "VBGROUP 5.0\r\nProject=sample\\Sample.vbp\r\n"
                                               "StartupProject=other\\Other.vbp\r\n");
    const std::string other = (box.dir / "other" / "Other.vbp").string(), group = (box.dir / "G.vbg").string();
    const struct {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> inErr;
        size_t utilDiffs;  // how many times modUtil.bas heads a diff
    } cases[] = {
        {{box.dir.Path().string()}, 0, {"2 project(s), 4 file(s) would change, 0 file(s) failed"}, 1},
        {{other, box.project, other, (box.dir / "sample" / "modUtil.bas").string()}, 0, {"2 project(s)"}, 1},
        {{group}, 0, {"working on project Other", "1 project(s), 2 file(s) would change"}, 1},
        {{group, "--project", "sample"}, 0, {"working on project Sample", "3 file(s) would change"}, 1},
        {{group, "--project", "Nope"}, 2, {"no project named \"Nope\" in the group; it holds Sample Other"}, 0},
        {{other, box.project, "--component", "modOther"}, 0, {"1 file(s) would change"}, 0},
        {{other, box.project, "--component", "modNope"}, 2, {"no component named \"modNope\" in any"}, 0},
        {{(box.dir / "none").string(), box.project}, 3, {"failed: " + (box.dir / "none").string()}, 1},
    };
    const auto before = box.Snapshot();
    for (const auto& c : cases) {
        std::vector<std::string> args{"number", "--dry-run"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = box.Vex(args);
        SCOPED_TRACE(r.err);
        EXPECT_EQ(r.code, c.code);
        for (const auto& text : c.inErr) EXPECT_NE(r.err.find(text), std::string::npos) << text;
        EXPECT_EQ(Count(r.out, "+++ b/"), Count(r.out, "--- a/"));
        EXPECT_EQ(Count(r.out, "modUtil.bas\n+++"), c.utilDiffs) << r.out.substr(0, 400);
    }
    EXPECT_TRUE(box.Snapshot() == before);
}

TEST(CodeVerbs, QuietOrRedirectedRunsShowNoProgressAndQuietOnlyProblems) {
    CliSandbox box;
    const auto quiet = box.Vex({"-q", "number", "--check", box.project});
    EXPECT_EQ(quiet.code, 1);
    EXPECT_EQ(quiet.err, "");
    const auto refused = box.Vex({"--quiet", "number", "--check", "--dry-run", box.project});
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err, "") << "problems are still told";

    VEX_SKIP_ON_WINDOWS("the redirections are made by a POSIX shell");
    // The real process with stdout and stderr into files: the diff's exact bytes, no progress, no colour.
    const auto out = box.dir / "out.txt", err = box.dir / "err.txt";
    const std::string command = std::string(VEXTOOLS_BINARY) + " --settings '" + box.settings.string() +
                                "' number --dry-run '" + box.project + "' >'" + out.string() + "' 2>'" +
                                err.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string diff = vex::testing::ReadFile(out), messages = vex::testing::ReadFile(err);
    EXPECT_NE(diff.find("\r\n+10 "), std::string::npos) << "CR LF kept";
    EXPECT_EQ(diff.find('\x1b'), std::string::npos);
    EXPECT_EQ(messages, "1 project(s), 3 file(s) would change, 0 file(s) failed, 173 line(s) changed\n");
}

}  // namespace
}  // namespace vex::cli
