#include "engine/line_numbering.h"

#include <gtest/gtest.h>

#include "engine/jump_targets.h"
#include "engine/project_list.h"
#include "engine_test_util.h"
#include "ide/source_module.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;
using testing::kSep;

struct NumberCase {
    const char* what;
    Lines numbered;               ///< the module numbered, with "+" in front of each number the numbering puts
    bool removalRestores = true;  // unnumbering the result gives the input back
    Lines given = {};             ///< the module before; empty: `numbered` without the numbers put
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.what; }

class Numbering : public ::testing::TestWithParam<NumberCase> {};

// Numbering gives the expected text, numbering again changes nothing, removal gives the input back;
// the jump targets read ahead on a thread of their own or not.
TEST_P(Numbering, NumbersIdempotentlyAndUnnumbersExactly) {
    const auto& c = GetParam();
    Lines input = c.given, expected;
    for (const auto& line : c.numbered) {
        const bool put = line.starts_with('+');
        expected.push_back(put ? line.substr(1) : line);
        if (c.given.empty()) input.push_back(put ? line.substr(line.find(' ') + 1) : line);
    }
    EngineRun ahead({{"Module1", input}, {"Module2", input}});
    ahead.fx.host.readAhead = true;
    StudyLineNumber(ahead.fx.host, ahead.lst, EditMode::Add);
    EXPECT_EQ(ahead.Module(1), expected) << "read ahead";
    EngineRun run({{"Module1", input}});
    StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
    EXPECT_EQ(run.Module(0), expected);
    StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
    EXPECT_EQ(run.Module(0), expected) << "second numbering";
    if (c.removalRestores) {
        StudyLineNumber(run.fx.host, run.lst, EditMode::Remove);
        EXPECT_EQ(run.Module(0), input) << "removal";
    }
    EXPECT_EQ(run.Leftovers(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Numbering,
    ::testing::Values(
        NumberCase{"the eleven-line example",
                   {"Option Explicit", "", "Private Sub Main()", "    Dim i As Long", "    ' count",
                    "+10     For i = 1 To 3", "    Debug.Print i", "+20     Next i", "+30     x = 1 + _", "        2",
                    "End Sub"}},
        NumberCase{"marker blocks get no numbers",
                   {"", "Sub A()", kSep, "On Error GoTo ErreurOrvel", kSep, "+10     x = 1", kSep, "Exit Sub",
                    "ErreurOrvel:", "Resume Next", "'########## %MANAGE ERROR% ##########", "+20     y = 2",
                    "End Sub"}},
        // "dim" is a plain prefix test; "12x" has no blank, so it is all statement; ":=" names an argument.
        NumberCase{"blank, whitespace, old numbers and lines that only look special",
                   {"", "Sub A()", "", "   ", "10 x = 1", "7", " ", "42 ", "  dimension = 1", "Case 1", "20 12x",
                    "30 x := 1", "End Sub"},
                   false, {"", "Sub A()", "", "   ", "5 x = 1", "7", "42 17", "42 ", "  dimension = 1", "Case 1",
                           "12x", "x := 1", "End Sub"}},
        NumberCase{"a declaration first in its range, continued",
                   {"Private Function F( _", "  ByVal a As Long) As Long", "+10     F = a", "End Function"}},
        NumberCase{"property procedures: declarations and ends stay, Get and Let are two procedures",
                   {"Private m As Long", "Public Property Get V() As Long", "+10     V = m", "End Property", "",
                    "Public Property Let V(ByVal x As Long)", "+10     m = x", "End Property"}},
        NumberCase{"a declaration spaced unusually is still a declaration",
                   {"", "Public  Function  F$(ByVal a As Long)", "+10     F = a", "End Function"}},
        NumberCase{"labels and directives stay first on their line",
                   {"", "Sub A()", "Retry:", "+10     x = 1", "Again: x = 2", "#If DEBUG Then", "+20     y = 1",
                    "#Else", "  #Const Z = 1", "#End If", "End Sub"}},
        NumberCase{"a name ending in _ continues nothing; a blank and _ does, also after a comment",
                   {"", "Sub A()", "+10     s = a_", "+20     t = 2 _", "      + 1 ' more _", "    u = 3", "End Sub"}},
        NumberCase{"declarations split or given twice, and module code under #Else, get no number",
                   {"", "#If A Then", "Public Writer As Object", "Sub W()", "End Sub", "#Else",
                    "Public Writer As Long", "#End If", "Public Function _", "    B(ByVal n As Long) As Long",
                    "+10   B = n", "End Function", "#If VBA7 Then", "Function F() As LongPtr", "#Else",
                    "Function F() As Long", "#End If", "+10   F = 1", "End Function"}},
        NumberCase{"a procedure defined in each #If branch: each copy is numbered on its own",
                   {"", "#If VBA7 Then", "Function F() As LongPtr", "+10   F = 1", "End Function", "#Else",
                    "Function F() As Long", "+10   F = 2", "End Function", "#End If"}},
        NumberCase{"a number alone that does not begin with a digit takes no number, so nothing blanks it later",
                   {"", "Sub A()", "-1", "  .5", "+10 x = -1", "End Sub"}},
        NumberCase{"a line of tabs and spaces is blank and takes no number",
                   {"", "Sub A()", "+10     x = 1", "\t    ", "+20     y = 2", "End Sub"}},
        NumberCase{"numbers that Erl is compared with stay",
                   {"", "Sub A()", "+10 x = 1", "20 y = 2", "+30 Exit Sub", "+40 If Erl = 20 Then Resume Next",
                    "End Sub"}},
        NumberCase{"jump targets keep their numbers and are never given again",
                   {"", "Sub A()", "+10     a = 1", "20 b = 2", "+30     If a Then GoTo 20", "+40     On Error GoTo 0",
                    "+50     c = 3", "End Sub"}, false}));

// Removal keeps the numbers jumps go to (and says so), continuation lines and bare labels; it strips the rest.
TEST(Numbering, RemovalKeepsJumpTargetsContinuationsAndBareLabels) {
    EngineRun run({{"M", {"", "Sub A()", "10 a = 1", "20 b = 2", "30 On x GoTo 20, 40", "40 Resume 10", "End Sub"}},
                   {"N", {"10 Option Explicit", "", "Sub A()", "10 x = 1 + _", "2 + 3", "20 y = 4", "30", "End Sub"}}});
    StudyLineNumber(run.fx.host, run.lst, EditMode::Remove);
    EXPECT_EQ(run.Module(0), (Lines{"", "Sub A()", "10 a = 1", "20 b = 2", "On x GoTo 20, 40", "40 Resume 10", "End Sub"}));
    EXPECT_EQ(run.Module(1), (Lines{"Option Explicit", "", "Sub A()", "x = 1 + _", "2 + 3", "y = 4", "30", "End Sub"}));
    EXPECT_EQ(run.fx.notices.notices,
              (std::vector<std::string>{"M: A: line 3 keeps its number 10, a jump goes there",
                                        "M: A: line 4 keeps its number 20, a jump goes there",
                                        "M: A: line 6 keeps its number 40, a jump goes there"}));
}

/// Two procedures of three statements, the statements numbered with `numbers` (none when empty).
Lines TwoProcs(const std::string& tag, const std::vector<int>& numbers = {}) {
    Lines lines{"", "Sub Load()", "    a" + tag + " = 1", "    b = 2", "End Sub",
                "", "Sub Other()", "    c = 3", "End Sub"};
    const size_t statements[] = {2, 3, 7};
    for (size_t i = 0; i < numbers.size(); ++i)
        lines[statements[i]] = std::to_string(numbers[i]) + " " + lines[statements[i]];
    return lines;
}

TEST(Numbering, ResetFlagDecidesWhetherNumbersRunOnAcrossProceduresAndComponents) {
    const struct {
        const char* reset;
        std::vector<int> first, second;
    } cases[] = {{"1", {10, 20, 10}, {10, 20, 10}}, {"0", {10, 20, 30}, {40, 50, 60}}};
    for (const auto& c : cases) {
        EngineRun run({{"A", TwoProcs("1")}, {"B", TwoProcs("2")}});
        run.fx.store.Save("ResetLineNumber", c.reset);
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
        EXPECT_EQ(run.Module(0), TwoProcs("1", c.first)) << c.reset;
        EXPECT_EQ(run.Module(1), TwoProcs("2", c.second)) << c.reset;
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);  // the next pass starts again from the step
        EXPECT_EQ(run.Module(1), TwoProcs("2", c.second)) << c.reset;
    }
}

TEST(Numbering, OptionsAreReadAndConverted) {
    const std::string marker = "'### %Gestion \xC9T\xC9% ###";  // ÉTÉ in Windows-1252
    const struct {
        const char *key, *value;
        Lines input, expected;
    } cases[] = {
        {"LineJump", "2.5", {"", "Sub A()", "x", "y", "End Sub"}, {"", "Sub A()", "2 x", "4 y", "End Sub"}},
        // An empty key is found in every line: the error-block state flips on each examined line.
        {"ErrorKey", "", {"", "Sub A()", "x", "y", "End Sub"}, {"", "Sub A()", "x", "10 y", "End Sub"}},
        // The stored key is UTF-8; the code is Windows-1252 and compared without regard to case.
        {"ErrorKey", "%gestion \xC3\xA9t\xC3\xA9%", {"", "Sub A()", marker, "x", marker, "y", "End Sub"},
         {"", "Sub A()", marker, "x", marker, "10 y", "End Sub"}},
    };
    for (const auto& c : cases) {
        EngineRun run({{"M", c.input}});
        run.SetOption(c.key, c.value);
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
        EXPECT_EQ(run.Module(), c.expected) << c.key << "=" << c.value;
        EXPECT_TRUE(run.fx.report.Reported().empty());
    }
}

TEST(Numbering, OverflowOfTheRunningNumberIsReportedPerLine) {
    for (host::Answer answer : {host::Answer::Ignore, host::Answer::Abort}) {
        EngineRun run({{"M", {"", "Sub A()", "x", "y", "z", "End Sub"}}});
        run.fx.store.Save("LineJump", "2147483647");
        run.fx.report.answers = {answer, answer};
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
        EXPECT_EQ(run.Module(0), (Lines{"", "Sub A()", "2147483647 x", "y", "z", "End Sub"})) << host::Code(answer);
        ASSERT_EQ(run.fx.report.Reported().size(), answer == host::Answer::Ignore ? 2u : 1u) << host::Code(answer);
        EXPECT_EQ(run.fx.report.Reported()[0].procedure, "modEtude // WriteLineNumber");
        EXPECT_EQ(run.fx.report.Reported()[0].number, errors::code::kOverflow);
    }
}

// VB6 takes modules of up to 65,534 lines; line positions are not 16-bit.
TEST(Numbering, ModulesBeyond32767LinesAreNumberedAndUnnumbered) {
    Lines big{"", "Sub A()"};
    big.resize(40000, "x");
    big.push_back("End Sub");
    EngineRun run({{"Big", big}});
    StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
    EXPECT_TRUE(run.fx.report.Reported().empty());
    EXPECT_EQ(run.Module(0)[39999], "399980 x");
    StudyLineNumber(run.fx.host, run.lst, EditMode::Remove);
    EXPECT_EQ(run.Module(0), big);
}

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
        {"If Erl = 20 Then Resume Next", {"20"}},
        {"If Erl <> 030 Or 40 = Erl Then", {"30", "40"}},
        {"x = Erl", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(JumpTargetsOf(c.statement), c.expected) << c.statement;
}

TEST(JumpTargets, CollectedPerProcedureAcrossContinuations) {
    const auto module = ide::SourceModule::Parse(testing::Crlf(
        {"Sub A()", "On x GoTo 10, _", "  20", "End Sub", "Property Get P()", "GoTo 30", "End Property",
         "Property Let P(v)", "Resume 40", "End Property", "Sub E()", "Select Case Erl", "Case 50, 60",
         "Select Case y", "Case 1", "End Select", "Case 70: x = 1", "End Select", "End Sub"}));
    const auto targets = CollectJumpTargets(*module);
    EXPECT_EQ(targets.at({"A", ide::ProcKind::Proc}).numbers, (NumberSet{"10", "20"}));
    EXPECT_EQ(targets.at({"P", ide::ProcKind::Get}).numbers, (NumberSet{"30"}));
    EXPECT_EQ(targets.at({"P", ide::ProcKind::Let}).numbers, (NumberSet{"40"}));
    EXPECT_FALSE(targets.at({"A", ide::ProcKind::Proc}).readsErl);
    // Under Select Case Erl, the numbers of its own Case lines; an inner Select's are its own.
    EXPECT_EQ(targets.at({"E", ide::ProcKind::Proc}).numbers, (NumberSet{"50", "60", "70"}));
    EXPECT_TRUE(targets.at({"E", ide::ProcKind::Proc}).readsErl);
}

}  // namespace
}  // namespace vex::engine
