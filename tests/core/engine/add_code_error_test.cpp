#include "engine/add_code_error.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "engine/study_manage_error.h"
#include "handler_test_support.h"

namespace vex::engine {
namespace {

using testing::handlers::Crlf;
using testing::handlers::EngineEndBlock;
using testing::handlers::EngineStartBlock;
using testing::handlers::HandlerRun;
using testing::handlers::Inserted;

const std::string kAddHead = "\r\n\r\n[DATE]\r\n Procedure with new error handler.\r\n " + std::string(45, '-');

/// The log with the date of its heads replaced by "DATE".
std::string WithoutDates(const std::string& log) {
    return std::regex_replace(log, std::regex("\\r\\n\\[[^\\]\\r\\n]+\\]"), "\r\n[DATE]");
}

TEST(AddCodeError, WorkedExampleWithEngineDefaults) {
    const std::vector<std::string> before = {"Option Explicit", "Private Sub StudyTabulation()", "    x = 1",
                                             "End Sub"};
    HandlerRun run({{"modEtude", Crlf(before)}});
    StudyManageError(run.fx.host, run.lst, 1, run.window);

    const auto expected =
        Inserted(Inserted(before, 3, EngineEndBlock("Sub", "StudyTabulation")), 2, EngineStartBlock());
    EXPECT_EQ(run.Code(), Crlf(expected));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()),
              kAddHead +
                  "\r\n\r\nmodEtude\r\n        StudyTabulation (Sub)\r\n              -> Add beginning code"
                  "\r\n              -> Add terminate code");
    EXPECT_EQ(run.window.shown, 1);
    EXPECT_EQ(run.fx.percentFile.Value(), 0);
    EXPECT_EQ(run.fx.percentProject.Value(), 0);
    EXPECT_EQ(run.fx.screen.pointer, Pointer::Default);
    EXPECT_TRUE(run.fx.report.Reported().empty());

    // A second run changes nothing and logs only its head and the component.
    run.fx.result.Clear();
    StudyManageError(run.fx.host, run.lst, 1, run.window);
    EXPECT_EQ(run.Code(), Crlf(expected));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead + "\r\n\r\nmodEtude");
}

TEST(AddCodeError, DialogDefaultTemplate) {
    HandlerRun run({{"modA", Crlf({"Function F() As Long", "    F = 1", "End Function"})}});
    run.SetOption("ErrorCodeStart", "On Error GoTo vexErrorHandler");
    run.SetOption("ErrorCodeClose",
                  "Exit $$SubFunction$$\r\nvexErrorHandler:\r\nSelect Case MsgBox(\"Error number : \" & Err.Number & "
                  "vbCr & Err.Description, vbCritical + vbAbortRetryIgnore)\r\n   Case vbRetry\r\n       Resume\r\n"
                  "   Case vbIgnore\r\n      Resume Next\r\n  Case vbAbort\r\nEnd Select");
    AddCodeError(run.fx.host, run.lst, run.window);
    const std::string sep = "'########## %Manage Error% ##########";
    EXPECT_EQ(run.Code(),
              Crlf({"Function F() As Long", sep, "On Error GoTo vexErrorHandler", sep, "    F = 1", sep,
                    "Exit Function", "vexErrorHandler:",
                    "Select Case MsgBox(\"Error number : \" & Err.Number & vbCr & Err.Description, vbCritical + "
                    "vbAbortRetryIgnore)",
                    "   Case vbRetry", "       Resume", "   Case vbIgnore", "      Resume Next", "  Case vbAbort",
                    "End Select", sep, "End Function"}));
}

struct AddCase {
    const char* what;
    std::vector<std::string> before;
    std::map<std::string, std::string> options;
    std::vector<std::string> after;  ///< empty: unchanged
    std::string logBody;             ///< the log after the head and the component's line
};

class AddCases : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddCases, InsertOrLeave) {
    const AddCase& c = GetParam();
    HandlerRun run({{"modA", Crlf(c.before)}});
    for (const auto& [k, v] : c.options) run.SetOption(k, v);
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Code(), Crlf(c.after.empty() ? c.before : c.after));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead + "\r\n\r\nmodA" + c.logBody);
    EXPECT_TRUE(run.fx.report.Reported().empty());
}

const std::string kLogged = "\r\n              -> Add beginning code\r\n              -> Add terminate code";

std::vector<std::string> Handled(const std::vector<std::string>& lines, size_t declLast, size_t endAt,
                                 const std::string& kind, const std::string& name) {
    return Inserted(Inserted(lines, endAt, EngineEndBlock(kind, name)), declLast + 1, EngineStartBlock());
}

const std::vector<std::string> kFriend = {"Friend Sub Fr()", "  x = 1", "End Sub"};
const std::vector<std::string> kStatic = {"Private Static Function St() As Long", "  St = 1", "End Function"};
const std::vector<std::string> kPublicStatic = {"Public Static Sub PS()", "End Sub"};
const std::vector<std::string> kProperties = {"Private m As Long", "Public Property Get V() As Long",  "  V = m",
                                              "End Property",      "Public Property Let V(x As Long)", "  m = x",
                                              "End Property"};
const std::vector<std::string> kMentions = {"Sub M()", "  ' we end sub here", "  s = \"End Sub\"", "End Sub"};
const std::vector<std::string> kContinued = {"Sub C(a As Long, _", "      b As Long, _", "      c As Long)", "  x = 1",
                                             "End Sub"};
const std::vector<std::string> kNumbered = {"Sub N()", "10 x = 1", "20 End Sub"};
const std::vector<std::string> kLabel = {"Sub L()", "  GoTo Fin", "Fin: End Sub"};
const std::vector<std::string> kAboveMarker = {"Option Explicit", "' %Manage Error% was here", "Sub A()", "End Sub"};
const std::vector<std::string> kOwnHandler = {"Sub H()", "On Error GoTo Oops", "Exit Sub", "Oops:", "End Sub"};

INSTANTIATE_TEST_SUITE_P(
    Table, AddCases,
    ::testing::Values(
        AddCase{
            "Friend Sub is a Sub", kFriend, {}, Handled(kFriend, 0, 2, "Sub", "Fr"), "\r\n        Fr (Sub)" + kLogged},
        AddCase{"Static Function is a Function",
                kStatic,
                {},
                Handled(kStatic, 0, 2, "Function", "St"),
                "\r\n        St (Function)" + kLogged},
        AddCase{"Public Static Sub is a Sub",
                kPublicStatic,
                {},
                Handled(kPublicStatic, 0, 1, "Sub", "PS"),
                "\r\n        PS (Sub)" + kLogged},
        AddCase{"each property procedure is its own, ending at End Property",
                kProperties,
                {},
                Handled(Handled(kProperties, 4, 6, "Property", "V"), 1, 3, "Property", "V"),
                "\r\n        V (Property)" + kLogged + "\r\n        V (Property)" + kLogged},
        AddCase{"a comment or string mentioning end sub is not the end",
                kMentions,
                {},
                Handled(kMentions, 0, 3, "Sub", "M"),
                "\r\n        M (Sub)" + kLogged},
        AddCase{"continued declaration gets its block after the last line",
                kContinued,
                {},
                Handled(kContinued, 2, 4, "Sub", "C"),
                "\r\n        C (Sub)" + kLogged},
        AddCase{
            "numbered End line", kNumbered, {}, Handled(kNumbered, 0, 2, "Sub", "N"), "\r\n        N (Sub)" + kLogged},
        AddCase{"labelled End line", kLabel, {}, Handled(kLabel, 0, 2, "Sub", "L"), "\r\n        L (Sub)" + kLogged},
        AddCase{"marker above the declaration does not keep out",
                kAboveMarker,
                {},
                Handled(kAboveMarker, 2, 3, "Sub", "A"),
                "\r\n        A (Sub)" + kLogged},
        AddCase{"an existing handler does not matter",
                kOwnHandler,
                {},
                Handled(kOwnHandler, 0, 4, "Sub", "H"),
                "\r\n        H (Sub)" + kLogged},
        AddCase{"opt-out marker keeps out", {"Sub A()", "  x = 1 ' %No Manage Error%", "End Sub"}, {}, {}, ""},
        AddCase{"opt-out needs its leading blank",
                {"Sub A()", "  x = 1 '%No Manage Error%", "End Sub"},
                {},
                Handled({"Sub A()", "  x = 1 '%No Manage Error%", "End Sub"}, 0, 2, "Sub", "A"),
                "\r\n        A (Sub)" + kLogged},
        AddCase{"marker in another case keeps out", {"Sub A()", "  ' %MANAGE ERROR%", "End Sub"}, {}, {}, ""},
        AddCase{"empty ErrorKey keeps every procedure out", {"Sub A()", "End Sub"}, {{"ErrorKey", ""}}, {}, ""},
        AddCase{"empty NoErrorKey keeps every procedure out", {"Sub A()", "End Sub"}, {{"NoErrorKey", ""}}, {}, ""},
        AddCase{"no End line: neither block", {"Sub A()", "  x = 1"}, {}, {}, ""},
        AddCase{"every placeholder is replaced",
                {"Sub A()", "End Sub"},
                {{"ErrorCodeStart", "' $$ProcedureName$$ $$ProcedureName$$ in $$FileName$$"},
                 {"ErrorCodeClose", "Exit $$SubFunction$$ ' $$SubFunction$$ $$FileName$$"}},
                {"Sub A()", "'########## %Manage Error% ##########", "' A A in modA",
                 "'########## %Manage Error% ##########", "'########## %Manage Error% ##########",
                 "Exit Sub ' Sub modA", "'########## %Manage Error% ##########", "End Sub"},
                "\r\n        A (Sub)" + kLogged},
        AddCase{"an empty template gives one empty line",
                {"Sub A()", "End Sub"},
                {{"ErrorCodeStart", ""}, {"ErrorCodeClose", ""}},
                {"Sub A()", "'########## %Manage Error% ##########", "", "'########## %Manage Error% ##########",
                 "'########## %Manage Error% ##########", "", "'########## %Manage Error% ##########", "End Sub"},
                "\r\n        A (Sub)" + kLogged},
        AddCase{"settings text is written in the code page",
                {"Sub A()", "End Sub"},
                {{"ErrorKey", "%Gestión%"}, {"ErrorCodeStart", "' é"}, {"ErrorCodeClose", "Exit Sub"}},
                {"Sub A()", "'########## %Gesti\xF3n% ##########", "' \xE9", "'########## %Gesti\xF3n% ##########",
                 "'########## %Gesti\xF3n% ##########", "Exit Sub", "'########## %Gesti\xF3n% ##########", "End Sub"},
                "\r\n        A (Sub)" + kLogged}));

TEST(AddCodeError, OnlySelectedRowsAndStillTheWindow) {
    HandlerRun run({{"modA", Crlf({"Sub A()", "End Sub"})},
                    {"modB", Crlf({"Sub B()", "End Sub"})},
                    {"modC", Crlf({"Sub C()", "End Sub"})}});
    run.lst.SetSelected(0, false);
    run.lst.SetSelected(2, false);
    run.lst.AddItem("modB");  // a second row of the same text never counts
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Code(0), Crlf({"Sub A()", "End Sub"}));
    EXPECT_NE(run.Code(1), Crlf({"Sub B()", "End Sub"}));
    EXPECT_EQ(run.Code(2), Crlf({"Sub C()", "End Sub"}));
    EXPECT_EQ(run.fx.percentProject.Value(), 3);
    EXPECT_EQ(run.lst.ListIndex(), 1);

    for (int16_t i = 0; i < run.lst.ListCount(); ++i) run.lst.SetSelected(i, false);
    run.fx.result.Clear();
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead);
    EXPECT_EQ(run.window.shown, 2);

    run.SetOption("ViewResult", "0");
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.window.shown, 2);
}

TEST(AddCodeError, UnconvertibleViewResultIsReportedAndAbortLeaves) {
    HandlerRun run({{"modA", Crlf({"Sub A()", "End Sub"})}});
    run.SetOption("ViewResult", "yes");
    run.fx.report.answers = {"3"};
    StudyManageError(run.fx.host, run.lst, 1, run.window);
    ASSERT_EQ(run.fx.report.Reported().size(), 1u);
    EXPECT_EQ(run.fx.report.Reported()[0].procedure, "modEtude // AddCodeError");
    EXPECT_EQ(run.fx.report.Reported()[0].number, errors::code::kTypeMismatch);
    EXPECT_EQ(run.Code(), Crlf({"Sub A()", "End Sub"}));
    EXPECT_EQ(run.fx.result.Text(), "");
    EXPECT_EQ(run.fx.screen.pointer, Pointer::Default);  // StudyManageError still resets
}

TEST(AddCodeError, NoActiveProjectIsReported) {
    HandlerRun run({});
    run.fx.host.activeProject = nullptr;
    run.fx.report.answers = {"5"};
    AddCodeError(run.fx.host, run.lst, run.window);
    ASSERT_EQ(run.fx.report.Reported().size(), 1u);
    EXPECT_EQ(run.fx.report.Reported()[0].number, 91);
}

}  // namespace
}  // namespace vex::engine
