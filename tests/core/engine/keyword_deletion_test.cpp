#include "engine/keyword_deletion.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;

TEST(KeywordDeletion, DeletesWholeStatementsThatHoldTheKeyword) {
    struct Case {
        const char* what;
        std::string keyword;
        Lines input, expected;
    } cases[] = {
        {"adjacent lines, a statement after a colon, a comment; lower case stays",
         "Debug.Print",
         {"Sub A()", "Debug.Print 1", "  Debug.Print 2", "x = 1: Debug.Print x", "' Debug.Print here", "debug.print 3",
          "End Sub"},
         {"Sub A()", "debug.print 3", "End Sub"}},
        {"FollowProgram: calls go, declarations stay",
         "FollowProgram",
         {"Public Sub FollowProgram()", "  FollowProgram", "End Sub", "Private Sub FollowProgram(x)", "Sub FollowProgram",
          "Call FollowProgram(1)"},
         {"Public Sub FollowProgram()", "End Sub", "Private Sub FollowProgram(x)", "Sub FollowProgram"}},
        {"a blank keyword deletes every line holding a blank, empty lines never",
         " ",
         {"Sub A()", "", "x=1", "y = 2", "End Sub", "Sub FollowProgram()"},
         {"", "x=1", "Sub FollowProgram()"}},
        {"a continued statement goes as a whole, from its first or a later line",
         "Debug.Print",
         {"Sub A()", "Debug.Print a, _", "  b", "x = 1", "y = f(1, _", "  Debug.Print)", "z = 2 _", "", "End Sub"},
         {"Sub A()", "x = 1", "z = 2 _", "", "End Sub"}},
        {"a continued FollowProgram declaration stays as a whole",
         "Debug",
         {"Sub FollowProgram( _", "  Debug As Long)", "End Sub"},
         {"Sub FollowProgram( _", "  Debug As Long)", "End Sub"}},
    };
    for (const auto& c : cases) {
        EngineRun run({{"M", c.input}});
        StudyRemoveCode(run.fx.host, run.lst, c.keyword);
        EXPECT_EQ(run.Module(0), c.expected) << c.what;
        EXPECT_TRUE(run.fx.report.Reported().empty()) << c.what;
        EXPECT_EQ(run.fx.percentProject.Value() + run.fx.percentFile.Value(), 0) << "the bars end at zero";
        EXPECT_EQ(run.fx.screen.pointer, Pointer::Default);
        // Deleting again finds nothing more.
        StudyRemoveCode(run.fx.host, run.lst, c.keyword);
        EXPECT_EQ(run.Module(0), c.expected) << c.what;
    }
}

TEST(KeywordDeletion, OverflowIsReportedWithTheKeywordAndAbortEndsTheRun) {
    Lines big(32768, "Debug.Print 1");
    EngineRun run({{"Big", big}, {"After", {"Debug.Print 2"}}});
    for (host::Answer answer : {host::Answer::Ignore, host::Answer::Abort}) {
        run.fx.report.answers = {answer};
        StudyRemoveCode(run.fx.host, run.lst, "Debug.Print");
        EXPECT_EQ(run.fx.report.Reported().back().procedure, "StudyRemoveCode");
        EXPECT_EQ(run.fx.report.Reported().back().number, errors::code::kOverflow);
        EXPECT_EQ(run.fx.report.lastComments, std::optional<std::string>("Debug.Print"));
        EXPECT_EQ(run.Module(0).size(), 32768u);
    }
    // Ignore skipped the big component and went on; Abort stopped before reaching the next one again.
    EXPECT_EQ(run.Module(1), Lines{});
    EXPECT_EQ(run.fx.percentProject.Value(), 1);
}

}  // namespace
}  // namespace vex::engine
