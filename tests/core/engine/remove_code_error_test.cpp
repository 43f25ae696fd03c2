#include "engine/remove_code_error.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::kRemoveHead;
using testing::kSep;
using testing::Lines;
using testing::WithoutDates;

const std::string kGone = "-" + kSep;

struct RemoveCase {
    const char* what;
    Lines lines;                     ///< the module, "-" in front of each line the removal takes out
    std::string logBody;             ///< the log after the head and the row
    std::string errorKey = "%Manage Error%";
};

void PrintTo(const RemoveCase& c, std::ostream* os) { *os << c.what; }

class RemoveCases : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveCases, TakeOutOrLeave) {
    const RemoveCase& c = GetParam();
    Lines before, after;
    for (const auto& line : c.lines) {
        before.push_back(line.starts_with('-') ? line.substr(1) : line);
        if (!line.starts_with('-')) after.push_back(line);
    }
    EngineRun run({{"modA", before}});
    run.SetOption("ErrorKey", c.errorKey);
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Module(), after);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kRemoveHead + "\r\n\r\nmodA" + c.logBody);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveCases,
    ::testing::Values(
        RemoveCase{"edited template lines go the same way",
                   {"Sub A()", kGone, "-' my own words", kGone, "  y = 1", kGone, "-Exit Sub", "-X: Beep", kGone,
                    "End Sub"},
                   "\r\n        A   2 section(s) removed"},
        RemoveCase{"no separator: neither changed nor logged", {"Sub A()", "  y = 1", "End Sub"}, ""},
        RemoveCase{"the test is case-sensitive",
                   {"Sub A()", "' %MANAGE ERROR%", "  y = 1", "' %MANAGE ERROR%", "End Sub"}, ""},
        RemoveCase{"a comment with the exact text counts",
                   {"Sub A()", "-' see %Manage Error%", "-  gone = 1", "-' %Manage Error% end", "End Sub"},
                   "\r\n        A   1 section(s) removed"},
        RemoveCase{"declarations section is left alone", {kSep, "Dim x", kSep, "Sub A()", "End Sub"}, ""},
        RemoveCase{"the first line of a procedure is never examined", {kSep, "Sub A()", "End Sub"}, ""},
        RemoveCase{"a marker above a declaration or in its comment is the user's",
                   {"Sub A()", "End Sub", "' see " + kSep, "Sub B( _", "  a As Long) ' " + kSep, kGone, "-y", kGone,
                    "End Sub"},
                   "\r\n        B   1 section(s) removed"},
        RemoveCase{"an empty ErrorKey marks no line", {"Sub A()", "  y = 1", "", "End Sub"}, "", ""},
        RemoveCase{"a separator without partner opens nothing",
                   {"Sub A()", "  y = 1", kGone, "  z = 2", "End Sub"}, "\r\n        A"},
        RemoveCase{"the End line and what follows it stay",
                   {"Sub A()", kGone, "  y = 1", "End Sub", kSep, "' trailing"}, "\r\n        A"},
        RemoveCase{"sections of two procedures are counted apart",
                   {"Sub A()", kGone, "-x", kGone, "End Sub", "Sub B()", kGone, "-x", kGone, "y", kGone, "-x", kGone,
                    "End Sub"},
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
