#include "engine/remove_code_error.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;
using testing::WithoutDates;

const std::string kRemoveHead = "\r\n\r\n[DATE]\r\n Procedure with remove code.\r\n " + std::string(65, '-');
const std::string kSep = "'########## %Manage Error% ##########";

struct RemoveCase {
    const char* what;
    Lines before;
    Lines after;  ///< empty: unchanged
    std::string logBody;             ///< the log after the head and the row
    std::string errorKey = "%Manage Error%";
};

void PrintTo(const RemoveCase& c, std::ostream* os) { *os << c.what; }

class RemoveCases : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveCases, TakeOutOrLeave) {
    const RemoveCase& c = GetParam();
    EngineRun run({{"modA", c.before}});
    run.SetOption("ErrorKey", c.errorKey);
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Module(), c.after.empty() ? c.before : c.after);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodA" + c.logBody);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveCases,
    ::testing::Values(
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
        RemoveCase{"a marker above a declaration or in its comment is the user's",
                   {"Sub A()", "End Sub", "' see " + kSep, "Sub B( _", "  a As Long) ' " + kSep, kSep, "y", kSep,
                    "End Sub"},
                   {"Sub A()", "End Sub", "' see " + kSep, "Sub B( _", "  a As Long) ' " + kSep, "End Sub"},
                   "\r\n        B   1 section(s) removed"},
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
    EngineRun run({{"modA", {"Sub A()", "End Sub"}}, {"modB", {}}});
    run.SetOption("ViewResult", "0");
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodA\r\n\r\nmodB");
    EXPECT_EQ(run.window.shown, 0);
}

}  // namespace
}  // namespace vex::engine
