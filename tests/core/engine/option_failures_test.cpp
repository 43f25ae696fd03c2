// Every pass reports a stored option it cannot convert, or that would write broken code, under its own
// tag, and then changes nothing.

#include <gtest/gtest.h>

#include <functional>

#include "engine/line_numbering.h"
#include "engine/study_manage_error.h"
#include "engine/study_tabulation.h"
#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;

TEST(OptionFailures, AnUnconvertibleOptionIsReportedUnderThePassTagAndChangesNothing) {
    using Pass = std::function<void(EngineRun&)>;
    // The error report puts the pointer back; these fakes do not, so the pointer is not looked at here.
    const Pass number = [](EngineRun& r) { StudyLineNumber(r.fx.host, r.lst, EditMode::Add); };
    const Pass indent = [](EngineRun& r) { StudyTabulation(r.fx.host, r.lst); };
    const Pass add = [](EngineRun& r) { StudyManageError(r.fx.host, r.lst, EditMode::Add, r.window); };
    const Pass remove = [](EngineRun& r) { StudyManageError(r.fx.host, r.lst, EditMode::Remove, r.window); };
    namespace code = errors::code;
    const struct {
        const Pass& pass;
        const char *key, *value, *tag;
        int number;
    } cases[] = {
        {number, "LineJump", "abc", "modEtude // StudyLineNumber", code::kTypeMismatch},
        {number, "LineJump", "3000000000", "modEtude // StudyLineNumber", code::kOverflow},
        {number, "ResetLineNumber", "yes", "modEtude // StudyLineNumber", code::kTypeMismatch},
        {number, "LineJump", "0", "modEtude // StudyLineNumber", code::kInvalidProcedureCall},
        {number, "LineJump", "-10", "modEtude // StudyLineNumber", code::kInvalidProcedureCall},
        {number, "ErrorKey", "a\r\nb", "modEtude // StudyLineNumber", code::kInvalidProcedureCall},
        {add, "ErrorKey", "a\nb", "modEtude // AddCodeError", code::kInvalidProcedureCall},
        {remove, "NoErrorKey", "a\rb", "modEtude // RemoveCodeError", code::kInvalidProcedureCall},
        {indent, "Tabulation", "x", "modEtude // StudyTabulation", code::kTypeMismatch},
        {indent, "TabStart", "40000", "modEtude // StudyTabulation", code::kOverflow},
        {indent, "TabStart", "-2", "modEtude // StudyTabulation", code::kInvalidProcedureCall},
        {add, "ViewResult", "yes", "modEtude // AddCodeError", code::kTypeMismatch},
        {remove, "ViewResult", "yes", "modEtude // RemoveCodeError", code::kTypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        const Lines text = {"Sub P()", "x = 1", "End Sub"};
        EngineRun run({{"modA", text}});
        run.SetOption(c.key, c.value);
        c.pass(run);
        ASSERT_EQ(run.fx.report.Reported().size(), 1u);
        EXPECT_EQ(run.fx.report.Reported()[0].procedure, c.tag);
        EXPECT_EQ(run.fx.report.Reported()[0].number, c.number);
        EXPECT_EQ(run.Module(), text);
    }
}

}  // namespace
}  // namespace vex::engine
