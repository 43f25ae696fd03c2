#include "engine/jump_targets.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "ide/source_module.h"

namespace vex::engine {
namespace {

using Targets = std::vector<std::string>;

TEST(JumpTargets, StatementsThatReferToLineNumbers) {
    struct Case {
        const char* statement;
        Targets expected;
    } cases[] = {
        {"GoTo 100", {"100"}},
        {"10 If x Then GoTo 020", {"20"}},
        {"GoSub 30: Return", {"30"}},
        {"On i GoTo 10, 20 ,30", {"10", "20", "30"}},
        {"On i GoSub 10, Label, 30", {"10", "30"}},
        {"On Error GoTo 500", {"500"}},
        {"On Local Error GoTo 0", {}},
        {"On Error GoTo 0", {}},
        {"Resume 40", {"40"}},
        {"Resume 0", {}},
        {"Resume Next", {}},
        {"If a Then 50 Else 60", {"50", "60"}},
        {"GoTo Retry", {}},
        {"MsgBox \"GoTo 70\" ' GoTo 80", {}},
        {"x = 1: Rem GoTo 90", {}},
        {"Rem GoTo 90", {}},
        {"s = \"a\"\"GoTo 1\"\"b\": GoTo 2", {"2"}},
    };
    for (const auto& c : cases) EXPECT_EQ(JumpTargetsOf(c.statement), c.expected) << c.statement;
}

TEST(JumpTargets, CollectedPerProcedureAcrossContinuations) {
    const auto module = ide::SourceModule::Parse(testing::Crlf(
        {"Sub A()", "On x GoTo 10, _", "  20", "End Sub", "Property Get P()", "GoTo 30", "End Property",
         "Property Let P(v)", "Resume 40", "End Property"}));
    const auto targets = CollectJumpTargets(*module);
    EXPECT_EQ(targets.at({"A", ide::ProcKind::Proc}), (NumberSet{"10", "20"}));
    EXPECT_EQ(targets.at({"P", ide::ProcKind::Get}), (NumberSet{"30"}));
    EXPECT_EQ(targets.at({"P", ide::ProcKind::Let}), (NumberSet{"40"}));
}

}  // namespace
}  // namespace vex::engine
