#include "engine/remove_code_error.h"

#include <gtest/gtest.h>

#include <regex>

#include "engine/add_code_error.h"
#include "engine/study_manage_error.h"
#include "handler_test_support.h"

namespace vex::engine {
namespace {

using testing::handlers::Crlf;
using testing::handlers::HandlerRun;

const std::string kRemoveHead = "\r\n\r\n[DATE]\r\n Procedure with remove code.\r\n " + std::string(65, '-');
const std::string kSep = "'########## %Manage Error% ##########";

std::string WithoutDates(const std::string& log) {
    return std::regex_replace(log, std::regex("\\r\\n\\[[^\\]\\r\\n]+\\]"), "\r\n[DATE]");
}

TEST(RemoveCodeError, WorkedExampleRoundTrip) {
    const std::string before = Crlf({"Option Explicit", "Private Sub StudyTabulation()", "    x = 1", "End Sub"});
    HandlerRun run({{"modEtude", before}});
    StudyManageError(run.fx.host, run.lst, 1, run.window);
    ASSERT_NE(run.Code(), before);

    run.fx.result.Clear();
    StudyManageError(run.fx.host, run.lst, 2, run.window);
    EXPECT_EQ(run.Code(), before);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()),
              kRemoveHead + "\r\n\r\nmodEtude\r\n        StudyTabulation   2 section(s) removed");
    EXPECT_EQ(run.window.shown, 2);
    EXPECT_EQ(run.fx.percentProject.Value(), 0);

    // Nothing left to remove: the second run logs the head and the row only.
    run.fx.result.Clear();
    StudyManageError(run.fx.host, run.lst, 2, run.window);
    EXPECT_EQ(run.Code(), before);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodEtude");
}

struct RemoveCase {
    const char* what;
    std::vector<std::string> before;
    std::vector<std::string> after;  ///< empty: unchanged
    std::string logBody;             ///< the log after the head and the row
    std::string errorKey = "%Manage Error%";
};

class RemoveCases : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveCases, TakeOutOrLeave) {
    const RemoveCase& c = GetParam();
    HandlerRun run({{"modA", Crlf(c.before)}});
    run.SetOption("ErrorKey", c.errorKey);
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Code(), Crlf(c.after.empty() ? c.before : c.after));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodA" + c.logBody);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveCases,
    ::testing::Values(
        RemoveCase{"start block only counts one",
                   {"Sub A()", kSep, "On Error GoTo X", kSep, "  y = 1", "End Sub"},
                   {"Sub A()", "  y = 1", "End Sub"},
                   "\r\n        A   1 section(s) removed"},
        RemoveCase{"edited template lines go the same way",
                   {"Sub A()", kSep, "' my own words", kSep, "  y = 1", kSep, "Exit Sub", "X: Beep", kSep, "End Sub"},
                   {"Sub A()", "  y = 1", "End Sub"},
                   "\r\n        A   2 section(s) removed"},
        RemoveCase{"no separator: neither changed nor logged", {"Sub A()", "  y = 1", "End Sub"}, {}, ""},
        RemoveCase{"the test is case-sensitive",
                   {"Sub A()", "' %MANAGE ERROR%", "  y = 1", "' %MANAGE ERROR%", "End Sub"},
                   {},
                   ""},
        RemoveCase{"a comment with the exact text counts",
                   {"Sub A()", "' see %Manage Error%", "  gone = 1", "' %Manage Error% end", "End Sub"},
                   {"Sub A()", "End Sub"},
                   "\r\n        A   1 section(s) removed"},
        RemoveCase{"declarations section is left alone", {kSep, "Dim x", kSep, "Sub A()", "End Sub"}, {}, ""},
        RemoveCase{"the first line of a procedure is never examined", {kSep, "Sub A()", "End Sub"}, {}, ""},
        RemoveCase{
            "another ErrorKey finds nothing", {"Sub A()", kSep, "On Error GoTo X", kSep, "End Sub"}, {}, "", "other"},
        RemoveCase{"an empty ErrorKey marks no line", {"Sub A()", "  y = 1", "", "End Sub"}, {}, "", ""},
        RemoveCase{"a separator without partner opens nothing",
                   {"Sub A()", "  y = 1", kSep, "  z = 2", "End Sub"},
                   {"Sub A()", "  y = 1", "  z = 2", "End Sub"},
                   "\r\n        A"},
        RemoveCase{"the End line and what follows it stay",
                   {"Sub A()", kSep, "  y = 1", "End Sub", kSep, "' trailing"},
                   {"Sub A()", "  y = 1", "End Sub", kSep, "' trailing"},
                   "\r\n        A"},
        RemoveCase{"sections of two procedures are counted apart",
                   {"Sub A()", kSep, "x", kSep, "End Sub", "Sub B()", kSep, "x", kSep, "y", kSep, "x", kSep, "End Sub"},
                   {"Sub A()", "End Sub", "Sub B()", "y", "End Sub"},
                   "\r\n        A   1 section(s) removed\r\n        B   2 section(s) removed"}));

TEST(RemoveCodeError, ComponentWithoutSectionsLogsItsRowOnly) {
    HandlerRun run({{"modA", Crlf({"Sub A()", "End Sub"})}, {"modB", ""}});
    run.SetOption("ViewResult", "0");
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodA\r\n\r\nmodB");
    EXPECT_EQ(run.window.shown, 0);
}

TEST(RemoveCodeError, InsertThenRemoveRestoresEveryCase) {
    // Procedures of every shape the insertion handles, in one module, with a property pair.
    const std::string before = Crlf({"Option Explicit",
                                     "Private m As Long",
                                     "",
                                     "' above",
                                     "Friend Sub Fr()",
                                     "  x = 1",
                                     "End Sub",
                                     "",
                                     "Public Property Get V() As Long",
                                     "  V = m",
                                     "End Property",
                                     "Public Property Let V(ByVal x As Long)",
                                     "  m = x",
                                     "End Property",
                                     "Private Static Function St( _",
                                     "    ByVal a As Long) As Long",
                                     "  St = a",
                                     "  ' end function, said the comment",
                                     "10 End Function",
                                     "Sub Opt() ' %No Manage Error%",
                                     "End Sub",
                                     "' trailing comment"});
    HandlerRun run({{"modA", before}});
    AddCodeError(run.fx.host, run.lst, run.window);
    const std::string once = run.Code();
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Code(), once);
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Code(), before);
    EXPECT_TRUE(run.fx.report.Reported().empty());
}

}  // namespace
}  // namespace vex::engine
