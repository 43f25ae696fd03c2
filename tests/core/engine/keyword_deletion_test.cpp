#include "engine/keyword_deletion.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;

// Each row is a module, "-" in front of each line the deletion takes out.
TEST(KeywordDeletion, DeletesWholeStatementsThatHoldTheKeyword) {
    struct Case {
        const char* what;
        std::string keyword;
        Lines lines;
    } cases[] = {
        {"adjacent lines, a statement after a colon, a comment; lower case stays",
         "Debug.Print",
         {"Sub A()", "-Debug.Print 1", "-  Debug.Print 2", "x = 1: Debug.Print x", "-' Debug.Print here",
          "debug.print 3", "End Sub"}},
        {"a line holding other code stays: deleting it would lose code or stop it compiling",
         "Debug.Print",
         {"Sub A()", "If c Then y = 2 Else Debug.Print y", "Lbl: Debug.Print", "With x: Debug.Print 1",
          "Select Case v", "Case 1: Debug.Print", "End Select", "-MsgBox \"Debug.Print\"", "x = 1 ' Debug.Print",
          "-10 Debug.Print 1", "20 Debug.Print 2", "GoTo 20", "End Sub"}},
        {"FollowProgram: calls go, declarations stay",
         "FollowProgram",
         {"Public Sub FollowProgram()", "-  FollowProgram", "End Sub", "Private Sub FollowProgram(x)",
          "Sub FollowProgram", "-Call FollowProgram(1)"}},
        {"a blank keyword deletes every statement holding a blank, never empty lines or what would not compile",
         " ",
         {"Sub A()", "", "x=1", "-y = 2", "End Sub", "Sub FollowProgram()"}},
        {"a continued statement goes as a whole, from its first or a later line",
         "Debug.Print",
         {"Sub A()", "-Debug.Print a, _", "-  b", "x = 1", "-y = f(1, _", "-  Debug.Print)", "z = 2 _", "", "End Sub"}},
        {"a continued FollowProgram declaration stays as a whole",
         "Debug",
         {"Sub FollowProgram( _", "  Debug As Long)", "End Sub"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines input, expected;
        for (const auto& line : c.lines) {
            input.push_back(line.starts_with('-') ? line.substr(1) : line);
            if (!line.starts_with('-')) expected.push_back(line);
        }
        EngineRun run({{"M", input}});
        StudyRemoveCode(run.fx.host, run.lst, c.keyword);
        EXPECT_EQ(run.Module(0), expected);
        EXPECT_EQ(run.Leftovers(), "");
        // Deleting again finds nothing more.
        StudyRemoveCode(run.fx.host, run.lst, c.keyword);
        EXPECT_EQ(run.Module(0), expected);
    }
}

TEST(KeywordDeletion, AKeptLineIsNamedByItsLineInTheSavedFile) {
    // The header line counts; the deleted line above no longer does.
    EngineRun run({{"M", {"Attribute VB_Name = \"M\"", "Sub A()", "Debug.Print 1", "x = 1: Debug.Print x", "End Sub"}}});
    StudyRemoveCode(run.fx.host, run.lst, "Debug.Print");
    EXPECT_EQ(run.fx.notices.notices,
              std::vector<std::string>{"M.bas:3: kept, the line holding Debug.Print holds other code too"});
}

TEST(KeywordDeletion, ModulesBeyond32767Lines) {
    EngineRun run({{"Big", Lines(40000, "Debug.Print 1")}, {"After", {"Debug.Print 2"}}});
    StudyRemoveCode(run.fx.host, run.lst, "Debug.Print");
    EXPECT_TRUE(run.fx.report.Reported().empty());
    EXPECT_EQ(run.Module(0), Lines{});
    EXPECT_EQ(run.Module(1), Lines{});
}

}  // namespace
}  // namespace vex::engine
