#include "engine/add_code_error.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/procedure_statements.h"
#include "engine/remove_code_error.h"
#include "engine/study_manage_error.h"
#include "engine_test_util.h"
#include "settings/options.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::kAddHead;
using testing::kSep;
using testing::Lines;
using testing::WithoutDates;

/// `lines` with the engine's default handler of procedure `name` inserted: the start block after line index
/// `declLast`, the end block before index `endAt`.
Lines Handled(Lines lines, size_t declLast, size_t endAt, const std::string& kind, const std::string& name) {
    const Lines end = {kSep,           "Exit " + kind,   "ErreurOrvel:",  "Select Case gestErreur(\"" + name + "\", Err, Erl)",
                       "   Case vbRetry", "       Err = 0", "       Resume", "   Case vbIgnore",
                       "       Err = 0", "      Resume Next", "  Case vbAbort", "End Select", kSep};
    const Lines start = {kSep, "On Error GoTo ErreurOrvel", kSep};
    lines.insert(lines.begin() + static_cast<long>(endAt), end.begin(), end.end());
    lines.insert(lines.begin() + static_cast<long>(declLast) + 1, start.begin(), start.end());
    return lines;
}

std::string Logged(const std::string& name, const std::string& kind) {
    return "\r\n        " + name + " (" + kind + ")\r\n              -> Add beginning code" +
           "\r\n              -> Add terminate code";
}

TEST(AddCodeError, WorkedExampleWithEngineDefaultsThenRemoval) {
    const Lines before = {"Option Explicit", "Private Sub StudyTabulation()", "    x = 1", "End Sub"};
    EngineRun run({{"modEtude", before}});
    StudyManageError(run.fx.host, run.lst, EditMode::Add, run.window);
    EXPECT_EQ(run.Module(), Handled(before, 1, 3, "Sub", "StudyTabulation"));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead + "\r\n\r\nmodEtude" + Logged("StudyTabulation", "Sub"));
    EXPECT_EQ(run.window.shown, 1);
    EXPECT_EQ(run.Leftovers(), "");

    // A second run changes nothing and logs only its head and the component.
    run.fx.result.Clear();
    StudyManageError(run.fx.host, run.lst, EditMode::Add, run.window);
    EXPECT_EQ(run.Module(), Handled(before, 1, 3, "Sub", "StudyTabulation"));
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead + "\r\n\r\nmodEtude");

    for (const char* logged : {"\r\n        StudyTabulation   2 section(s) removed", ""}) {
        run.fx.result.Clear();
        StudyManageError(run.fx.host, run.lst, EditMode::Remove, run.window);
        EXPECT_EQ(run.Module(), before);
        EXPECT_EQ(WithoutDates(run.fx.result.Text()), testing::kRemoveHead + "\r\n\r\nmodEtude" + logged);
    }
    EXPECT_EQ(run.window.shown, 4);
}

struct AddCase {
    const char* what;
    Lines before;
    std::map<std::string, std::string> options;
    Lines after;          ///< empty: unchanged
    std::string logBody;  ///< the log after the head and the component's line
};

void PrintTo(const AddCase& c, std::ostream* os) { *os << c.what; }

class AddCases : public ::testing::TestWithParam<AddCase> {};

// Insertion gives the expected text and log, and removal then gives the original back.
TEST_P(AddCases, InsertOrLeaveThenRemove) {
    const AddCase& c = GetParam();
    EngineRun run({{"modA", c.before}});
    for (const auto& [k, v] : c.options) run.SetOption(k, v);
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Module(), c.after.empty() ? c.before : c.after);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead + "\r\n\r\nmodA" + c.logBody);
    RemoveCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.Module(), c.before) << "removal";
    EXPECT_TRUE(run.fx.report.Reported().empty());
}

const Lines kKinds = {"Friend Sub Fr()",       "  x = 1", "End Sub", "Private Static Function St() As Long",
                      "  St = 1",              "End Function", "Public Static Sub PS()", "End Sub"};
const Lines kProperties = {"Private m As Long", "Public Property Get V() As Long", "  V = m", "End Property",
                           "Public Property Let V(x As Long)", "  m = x", "End Property"};
const Lines kAboveMarker = {"Option Explicit", "' %Manage Error% was here", "Sub A()", "End Sub"};
const Lines kOwnHandler = {"Sub H()", "On Error GoTo Oops", "Exit Sub", "Oops:", "End Sub"};
const Lines kOptOutWithoutBlank = {"Sub A()", "  x = 1 '%No Manage Error%", "End Sub"};
const Lines kSplitAfterKeyword = {"Public Function _", "    B(ByVal n As Long) As Long", "  B = n", "End Function"};
const Lines kAlternatives = {"#If VBA7 Then", "Function F(ByVal p As LongPtr) As LongPtr", "#Else",
                             "Function F(ByVal p As Long) As Long", "#End If", "F = p", "End Function"};
const Lines kCopies = {"#If VBA7 Then", "Function F() As LongPtr", "  F = 1", "End Function", "#Else",
                       "Function F() As Long",  "  F = 2", "End Function", "#End If"};
const Lines kEndInComment = {"Sub A()", "  x = 1 ' see below _", "End Sub", "End Sub"};
const Lines kOneLinerAndType = {"Private Type QSStack", "    sUB As Long", "End Type",
                                "Function MinX() As Long: MinX = 1: End Function", "Sub B()", "End Sub"};

INSTANTIATE_TEST_SUITE_P(
    Table, AddCases,
    ::testing::Values(
        AddCase{"the kind word comes from the keyword: Friend Sub, Static Function, Public Static Sub", kKinds, {},
                Handled(Handled(Handled(kKinds, 6, 7, "Sub", "PS"), 3, 5, "Function", "St"), 0, 2, "Sub", "Fr"),
                Logged("Fr", "Sub") + Logged("St", "Function") + Logged("PS", "Sub")},
        AddCase{"each property procedure is its own, ending at End Property", kProperties, {},
                Handled(Handled(kProperties, 4, 6, "Property", "V"), 1, 3, "Property", "V"),
                Logged("V", "Property") + Logged("V", "Property")},
        AddCase{"marker above the declaration does not keep out", kAboveMarker, {},
                Handled(kAboveMarker, 2, 3, "Sub", "A"), Logged("A", "Sub")},
        AddCase{"an existing handler does not matter", kOwnHandler, {}, Handled(kOwnHandler, 0, 4, "Sub", "H"),
                Logged("H", "Sub")},
        AddCase{"opt-out marker keeps out", {"Sub A()", "  x = 1 ' %No Manage Error%", "End Sub"}, {}, {}, ""},
        AddCase{"opt-out needs its leading blank", kOptOutWithoutBlank, {},
                Handled(kOptOutWithoutBlank, 0, 2, "Sub", "A"), Logged("A", "Sub")},
        AddCase{"marker in another case keeps out", {"Sub A()", "  ' %MANAGE ERROR%", "End Sub"}, {}, {}, ""},
        AddCase{"empty ErrorKey keeps every procedure out", {"Sub A()", "End Sub"}, {{"ErrorKey", ""}}, {}, ""},
        AddCase{"empty NoErrorKey keeps every procedure out", {"Sub A()", "End Sub"}, {{"NoErrorKey", ""}}, {}, ""},
        AddCase{"no End line: neither block", {"Sub A()", "  x = 1"}, {}, {}, ""},
        AddCase{"a declaration split after its keyword: after its last line", kSplitAfterKeyword, {},
                Handled(kSplitAfterKeyword, 1, 3, "Function", "B"), Logged("B", "Function")},
        AddCase{"alternative signatures: after the #End If, where every branch runs it", kAlternatives, {},
                Handled(kAlternatives, 4, 6, "Function", "F"), Logged("F", "Function")},
        AddCase{"a procedure defined in each #If branch: each copy gets its own handler", kCopies, {},
                Handled(Handled(kCopies, 5, 7, "Function", "F"), 1, 3, "Function", "F"),
                Logged("F", "Function") + Logged("F", "Function")},
        AddCase{"an End Sub that a comment ending in _ takes in is comment text", kEndInComment, {},
                Handled(kEndInComment, 0, 3, "Sub", "A"), Logged("A", "Sub")},
        AddCase{"a Type member is no procedure; a one-line procedure has no room", kOneLinerAndType, {},
                Handled(kOneLinerAndType, 4, 5, "Sub", "B"), Logged("B", "Sub")},
        AddCase{"the dialog's default template",
                {"Function F() As Long", "    F = 1", "End Function"},
                {{"ErrorCodeStart", settings::DialogDefault(settings::key::kErrorCodeStart)},
                 {"ErrorCodeClose", settings::DialogDefault(settings::key::kErrorCodeClose)}},
                {"Function F() As Long", kSep, "On Error GoTo vexErrorHandler", kSep, "    F = 1", kSep,
                 "Exit Function", "vexErrorHandler:",
                 "Select Case MsgBox(\"Error number : \" & Err.Number & vbCr & Err.Description, vbCritical + "
                 "vbAbortRetryIgnore)",
                 "   Case vbRetry", "       Resume", "   Case vbIgnore", "      Resume Next", "  Case vbAbort",
                 "End Select", kSep, "End Function"},
                Logged("F", "Function")},
        AddCase{"every placeholder is replaced",
                {"Sub A()", "End Sub"},
                {{"ErrorCodeStart", "' $$ProcedureName$$ $$ProcedureName$$ in $$FileName$$"},
                 {"ErrorCodeClose", "Exit $$SubFunction$$ ' $$SubFunction$$ $$FileName$$"}},
                {"Sub A()", kSep, "' A A in modA", kSep, kSep, "Exit Sub ' Sub modA", kSep, "End Sub"},
                Logged("A", "Sub")},
        AddCase{"an empty template gives one empty line",
                {"Sub A()", "End Sub"},
                {{"ErrorCodeStart", ""}, {"ErrorCodeClose", ""}},
                {"Sub A()", kSep, "", kSep, kSep, "", kSep, "End Sub"},
                Logged("A", "Sub")},
        AddCase{"settings text is written in the code page",
                {"Sub A()", "End Sub"},
                {{"ErrorKey", "%Gestión%"}, {"ErrorCodeStart", "' é"}, {"ErrorCodeClose", "Exit Sub"}},
                {"Sub A()", "'########## %Gesti\xF3n% ##########", "' \xE9", "'########## %Gesti\xF3n% ##########",
                 "'########## %Gesti\xF3n% ##########", "Exit Sub", "'########## %Gesti\xF3n% ##########", "End Sub"},
                Logged("A", "Sub")}));

TEST(AddCodeError, ViewResultDecidesTheWindowEvenWithNothingSelected) {
    EngineRun run({{"modA", {"Sub A()", "End Sub"}}});
    run.lst.SetSelected(0, false);
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(WithoutDates(run.fx.result.Text()), kAddHead);
    EXPECT_EQ(run.window.shown, 1);
    run.SetOption("ViewResult", "0");
    AddCodeError(run.fx.host, run.lst, run.window);
    EXPECT_EQ(run.window.shown, 1);
}

TEST(AddCodeError, NoActiveProjectIsReported) {
    EngineRun run({});
    run.fx.host.activeProject = nullptr;
    run.fx.report.answers = {host::Answer::Ignore};
    AddCodeError(run.fx.host, run.lst, run.window);
    ASSERT_EQ(run.fx.report.Reported().size(), 1u);
    EXPECT_EQ(run.fx.report.Reported()[0].number, 91);
}

// The ending line of a procedure is its own End statement (not one in a comment or a string; numbered or
// labelled, it still is).
TEST(AddCodeError, EndingLineIsTheProcedureOwnEndStatement) {
    struct Case {
        const char* line;
        const char* kind;
        bool end;
    };
    for (const Case& c :
         {Case{"End Sub", "Sub", true}, Case{"  end   sub ' done", "Sub", true}, Case{"10 End Sub", "Sub", true},
          Case{"20: End Function", "Function", true}, Case{"Fin: End Sub", "Sub", true},
          Case{"End Property", "Property", true}, Case{"End Sub", "Function", false}, Case{"' end sub", "Sub", false},
          Case{"s = \"end sub\"", "Sub", false}, Case{"x = 1: End Sub", "Sub", false},
          Case{"End Subtotal", "Sub", false}, Case{"End", "Sub", false}, Case{"End Sub", "", false}})
        EXPECT_EQ(IsProcedureEnd(c.line, c.kind), c.end) << c.line << " / " << c.kind;
}

}  // namespace
}  // namespace vex::engine
