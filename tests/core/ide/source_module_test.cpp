#include "ide/source_module.h"

#include <functional>
#include <gtest/gtest.h>

#include <random>

#include "fakes/host_fixture.h"
#include "fakes/raised.h"

namespace vex::ide {
namespace {

using vex::testing::Crlf;

TEST(SourceModule, ProceduresVB6WouldNotCompileAreNamedWithTheirFileLine) {
    struct Case {
        std::vector<std::string> lines;
        std::string expected;
    } cases[] = {
        {{"Attribute VB_Name = \"modBad\"", "Sub A()", "End Sub", "Function B()", "Public Sub C()", "End Sub"},
         "modBad.bas:4: Function B is never closed by End Function"},
        {{"Property Get P()", "x = 1"}, "modBad.bas:1: Property P is never closed by End Property"},
        {{"Sub A()", "End Sub", "Function MinX() As Long: MinX = 1: End Function"}, ""},
        // Between and after procedures: comments, directives and attributes only.
        {{"#If A Then", "Sub A()", "End Sub", "#Else", "Sub A()", "End Sub", "", "#End If", "' done", "Rem too"}, ""},
        {{"Sub A()", "End Sub", "x = 1", "Sub B()", "End Sub"},
         "modBad.bas:3: only comments may appear after End Sub, End Function or End Property"},
        {{"Option Explicit", "Sub A()", "End Sub", "   _", "Dim y"},
         "modBad.bas:4: only comments may appear after End Sub, End Function or End Property"},
        // A statement continued onto a procedure's declaration hides the procedure; its End closes nothing.
        {{"Option Explicit", "Dim x As _", "Sub A()", "End Sub"}, "modBad.bas:4: End Sub stands outside every procedure"},
        {{"Dim x", "End Function"}, "modBad.bas:2: End Function stands outside every procedure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SourceModule::Parse(Crlf(c.lines))->StructureFault("modBad.bas"), c.expected) << c.expected;
}

std::string Describe(const std::vector<ProcInfo>& procs) {
    std::string s;
    for (const auto& p : procs)
        s += p.name + (p.copy > 0 ? "#" + std::to_string(p.copy) : "") + "/" + std::to_string(static_cast<int>(p.kind)) +
             " " + std::to_string(p.start) + "-" +
             std::to_string(p.body) + "-" + std::to_string(p.end) + "; ";
    return s;
}

struct RangeCase {
    const char* what;
    std::string text;
    std::string expected;  // name/kind start-body-end; ...
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.what; }

class ProcedureRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ProcedureRanges, AsTheIdeCountsThem) {
    const auto m = SourceModule::Parse(GetParam().text);
    EXPECT_EQ(Describe(m->Procedures()), GetParam().expected);
    // Each line's procedure is the one whose range holds it, copies told apart.
    for (long line = 1; line <= m->CountOfLines(); ++line) {
        const ProcAtLine at = m->ProcAt(line);
        std::vector<ProcInfo> found;
        for (const auto& p : m->Procedures())
            if (p.start <= line && line <= p.end) found.push_back(p);
        if (found.empty()) found.push_back({});
        EXPECT_EQ(Describe({{at.name, at.kind, at.start, at.body, 0, at.name.empty() ? 0 : at.last, at.copy}}),
                  Describe(found)) << "line " << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProcedureRanges,
    ::testing::Values(
        RangeCase{"comments above belong to the procedure",
                  Crlf({"Option Explicit", "", "' says hello", "Sub A()", "End Sub", "", "' second", "Sub B()",
                        "End Sub"}),
                  "A/0 2-4-5; B/0 6-8-9; "},
        RangeCase{"continued declaration", Crlf({"Private Function F( _", "  ByVal a As Long) As Long", "End Function"}),
                  "F/0 1-1-3; "},
        RangeCase{"last procedure owns trailing blanks and comments",
                  Crlf({"Sub A()", "End Sub", "", "' tail", ""}), "A/0 1-1-5; "},
        RangeCase{"property pair is two procedures",
                  Crlf({"Private m As Long", "Public Property Get V() As Long", "End Property",
                        "Public Property Let V(x As Long)", "End Property", "Property Set O(x As Object)",
                        "End Property"}),
                  "V/3 2-2-3; V/1 4-4-5; O/2 6-6-7; "},
        RangeCase{"End Sub in a comment or string ends nothing",
                  Crlf({"Sub A()", "  ' End Sub here", "  s = \"End Sub\"", "End Sub", "Sub B()", "End Sub"}),
                  "A/0 1-1-4; B/0 5-5-6; "},
        RangeCase{"line number and label before End",
                  Crlf({"Sub A()", "10 x = 1", "20 End Sub", "Sub B()", "Done: End Sub", "Sub C()", "End Sub"}),
                  "A/0 1-1-3; B/0 4-4-5; C/0 6-6-7; "},
        RangeCase{"#If around a procedure",
                  Crlf({"Option Explicit", "#If DEBUG Then", "Sub A()", "End Sub", "#End If", "Sub B()", "End Sub"}),
                  "A/0 3-3-4; B/0 5-6-7; "},
        RangeCase{"a comment ending in _ continues",
                  Crlf({"Option Explicit", "' note _", "Sub NotADeclaration()", "Sub A()", "End Sub"}),
                  "A/0 2-4-5; "},
        RangeCase{"modifiers, Static, Friend, type suffix",
                  Crlf({"Public Static Function Z$()", "End Function", "Friend Sub Y()", "End Sub",
                        "Private Declare Function W Lib \"k\" ()", "Static Sub X()", "End Sub"}),
                  "Z/0 1-1-2; Y/0 3-3-4; X/0 5-6-7; "},
        RangeCase{"a declaration split anywhere, right after its keyword included",
                  Crlf({"Option Explicit", "Public Function _", "    B(ByVal n As Long) As Long", "End Function",
                        "Private Sub _", "C()", "End Sub"}),
                  "B/0 2-2-4; C/0 5-5-7; "},
        RangeCase{"nothing inside a Type or Enum block is a declaration",
                  Crlf({"Private Type QSStack", "    sUB As Long", "    Function As Long", "End Type",
                        "Enum E", "  Sub = 1", "End Enum", "Sub A()", "End Sub"}),
                  "A/0 8-8-9; "},
        RangeCase{"a one-line procedure closes itself",
                  Crlf({"Private Function MinX() As Long: MinX = 1: End Function", "Sub B()", "End Sub"}),
                  "MinX/0 1-1-1; B/0 2-2-3; "},
        RangeCase{"alternative signatures under #If are one procedure",
                  Crlf({"#If VBA7 Then", "Function F(ByVal p As LongPtr) As LongPtr", "#Else",
                        "Function F(ByVal p As Long) As Long", "#End If", "F = p", "End Function",
                        "#If A Then", "Function G() As Long", "G = 1", "#Else", "Function G() As Long", "G = 2",
                        "#End If", "End Function"}),
                  "F/0 2-2-7; G/0 8-9-15; "},
        RangeCase{"a procedure defined in each #If branch: two copies",
                  Crlf({"#If VBA7 Then", "Function F() As LongPtr", "End Function", "#Else", "Function f() As Long",
                        "End Function", "#End If", "Sub G()", "End Sub"}),
                  "F/0 2-2-3; f#1/0 4-5-6; G/0 7-8-9; "},
        RangeCase{"declarations only", Crlf({"Option Explicit", "Dim x As Long"}), ""},
        RangeCase{"empty", "", ""}));

TEST(SourceModule, HidesHeaderDesignerBlockAndMemberAttributesAndReadsEveryLineBreak) {
    struct Case {
        std::string file, name, first, last;
        long count;
    } cases[] = {
        {Crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END", "Attribute VB_Name = \"cThing\"",
               "Attribute VB_Exposed = False", "Option Explicit", "Public Property Get Item( _",
               "  ByVal i As Long) As Variant", "Attribute Item.VB_UserMemId = 0", "End Property"}),
         "cThing", "Option Explicit", "End Property", 4},
        {Crlf({"VERSION 5.00", "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"x.ocx\"",
               "Begin VB.Form frmMain", "   Caption = \"Main\"", "   BeginProperty Font", "      Name = \"Arial\"",
               "   EndProperty", "   Begin VB.CommandButton cmdGo", "   End", "End", "Attribute VB_Name = \"frmMain\"",
               "Private Sub cmdGo_Click()", "End Sub"}),
         "frmMain", "Private Sub cmdGo_Click()", "End Sub", 2},
        {"\xEF\xBB\xBF" + Crlf({"Attribute VB_Name = \"modB\"", "Sub A()", "End Sub"}), "modB", "Sub A()", "End Sub", 2},
        // Every kind of line break, and a final one or none.
        {"a\r\nb\r\nc\r\n", "", "a", "c", 3}, {"a\r\nb\r\nc", "", "a", "c", 3}, {"a\nb\n", "", "a", "b", 2},
        {"", "", "", "", 0}, {"\r\n", "", "", "", 1}, {"a\rb\r\n", "", "a", "b", 2}, {"a\r\rb\n", "", "a", "b", 3},
        {"\r", "", "", "", 1}, {"a\r", "", "a", "a", 1}, {"\n\r\nb", "", "", "b", 3}, {"a\r\r\n", "", "a", "", 2},
    };
    for (const auto& c : cases) {
        const auto m = SourceModule::Parse(c.file);
        EXPECT_EQ(m->VBName(), c.name);
        ASSERT_EQ(m->CountOfLines(), c.count) << c.file;
        if (c.count > 0) {
            EXPECT_EQ(m->Lines(1, 1), c.first);
            EXPECT_EQ(m->Lines(c.count, 1), c.last);
        }
        EXPECT_EQ(m->Serialize(), c.file);
        EXPECT_FALSE(m->Changed());
        // The shape a copy reads without building the module is the parsed module's.
        const auto shape = SourceModule::ShapeOf(c.file);
        EXPECT_EQ(shape.vbName, c.name);
        EXPECT_EQ(shape.lines, c.count);
        EXPECT_EQ(shape.longestLine, m->LongestLine());
    }
}

// Unedited lines view the bytes loaded (or saved); edited ones hold their own text. A save makes every
// line view the saved bytes, and each must still read as it did, through more edits and saves.
TEST(SourceModule, LoadedAndEditedLinesReadTheSameAcrossSaves) {
    struct Case {
        std::string what, file;
        std::function<void(SourceModule&)> edit;
    } cases[] = {
        {"short file held inside its string", "x\r\n", [](SourceModule& m) { m.ReplaceLine(1, "yy"); }},
        {"lines inserted share repeated texts", Crlf({"Sub A()", "End Sub", "Sub B()", "End Sub"}),
         [](SourceModule& m) {
             m.ReplaceLine(3, "Sub B()\r\n' sep\r\nOn Error GoTo E");
             m.ReplaceLine(1, "Sub A()\r\n' sep\r\nOn Error GoTo E");
         }},
        {"no final break, hidden lines kept",
         "Attribute VB_Name = \"c\"\r\nProperty Get N()\r\nAttribute N.VB_UserMemId = 0\r\nEnd Property",
         [](SourceModule& m) {
             m.ReplaceLine(2, "  x = 1\r\nEnd Property");
             m.ReplaceLine(1, "Property Get N() As Long");
         }},
        {"deleted lines", Crlf({"Sub A()", "a", "b", "c", "End Sub"}), [](SourceModule& m) { m.DeleteLines(2, 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = SourceModule::Parse(c.file);
        for (int round = 0; round < 3; ++round) {
            c.edit(*m);
            const std::string text = m->Serialize();
            const std::string lines = m->Lines(1, m->CountOfLines());
            if (round == 1) m->MarkSaved();
            else m->MarkSaved(text);
            EXPECT_EQ(m->Original(), text);
            EXPECT_EQ(m->Serialize(), text);
            EXPECT_EQ(m->Lines(1, m->CountOfLines()), lines);
            EXPECT_EQ(SourceModule::Parse(text)->Lines(1, m->CountOfLines()), lines);
        }
    }
}

// An edit's text is split on every kind of break; a replaced line keeps its own break and inserted lines take
// the first line's; a missing final break stays missing; attribute lines stay right after their declaration.
TEST(SourceModule, EditsSplitOnEveryBreakAndKeepEachLinesOwnBreak) {
    const struct {
        std::string file;
        std::function<void(SourceModule&)> edit;
        std::string after;
    } cases[] = {
        {Crlf({"Attribute VB_Name = \"c\"", "Public Property Get Name() As String",
               "Attribute Name.VB_Description = \"The name\"", "  Name = m", "End Property"}),
         [](SourceModule& m) {
             m.ReplaceLine(1, "Public Property Get Name() As String\r\n' sep\r\nOn Error GoTo E\n' sep");
             m.ReplaceLine(6, "' sep\rExit Property\r\n' sep\r\nEnd Property");
             EXPECT_EQ(m.ProcBodyLine("name", ProcKind::Get), 1);
             EXPECT_EQ(m.ProcCountLines("Name", ProcKind::Get), 9);
         },
         Crlf({"Attribute VB_Name = \"c\"", "Public Property Get Name() As String",
               "Attribute Name.VB_Description = \"The name\"", "' sep", "On Error GoTo E", "' sep", "  Name = m",
               "' sep", "Exit Property", "' sep", "End Property"})},
        {"Sub A()\nEnd Sub", [](SourceModule& m) { m.ReplaceLine(2, "x = 1\nEnd Sub"); }, "Sub A()\nx = 1\nEnd Sub"},
        {"Sub A()\nx = 1\nEnd Sub", [](SourceModule& m) { m.DeleteLines(3, 1); }, "Sub A()\nx = 1"},
        {"Sub A()\r\nx = 1\nEnd Sub\r\n", [](SourceModule& m) { m.ReplaceLine(2, "' n\n10 x = 1"); },
         "Sub A()\r\n' n\r\n10 x = 1\nEnd Sub\r\n"},
    };
    for (const auto& c : cases) {
        auto m = SourceModule::Parse(c.file);
        c.edit(*m);
        EXPECT_EQ(m->Serialize(), c.after);
    }
}

TEST(SourceModule, ErrorsForBadLinesAndUnknownProcedures) {
    auto m = SourceModule::Parse(Crlf({"Sub A()", "End Sub"}));
    ProcKind kind;
    for (long bad : {0L, 3L, -1L}) {
        EXPECT_THROW(m->Lines(bad, 1), errors::RuntimeError);
        EXPECT_THROW(m->ReplaceLine(bad, "x"), errors::RuntimeError);
        EXPECT_THROW(m->ProcOfLine(bad, kind), errors::RuntimeError);
    }
    const auto e = vex::testing::Raised([&] { m->ProcBodyLine("A", ProcKind::Get); });
    EXPECT_EQ(e.Number(), 35);
    EXPECT_EQ(e.Description(), "Sub or Function not defined");
}

// Random edits through the public operations must leave the same answers as parsing the result afresh,
// both query by query (while shifts are still pending) and for the whole index.
TEST(SourceModule, EditsInAContinuedDeclarationKeepTheIndexAsAFreshRead) {
    const std::vector<std::string> split = {"Sub A()", "End Sub", "Function H( _", "a, _", "b)", "x = 1", "End Function"};
    // Taking out "GoTo 10" and "Beep _" joins " _" to "Property Get P()", which then declares P.
    const std::vector<std::string> joined = {"Sub A()", "End Sub", " _", "GoTo 10", "Beep _", "Property Get P()", "End Property"};
    // A declaration given again under #Else ends at the #End If, over comments: code put among them ends it.
    const std::vector<std::string> alternatives = {"Sub A()", "End Sub", "Function G(): G = 1: End Function",
                                                   "#Else", "Function G(): G = 1: End Function", "Rem note",
                                                   "#End If"};
    // Code taken from under an #Else signature that a procedure of its own declares (a later copy)
    // lets the #End If close the first declaration, which then takes that signature for its own.
    const std::vector<std::string> chained = {"Sub A()", "End Sub", "Function G(): G = 1: End Function", "#Else",
                                              "Function G(): G = 1: End Function", "For i = 1 To 3", "#End If"};
    const std::vector<std::string> chainedAbove = {"Sub A()", "End Sub", "Function G(): G = 1: End Function", "#Else",
                                                   "x = 1", "Function G(): G = 1: End Function", "#End If"};
    // An Enum never closed holds the rest of the module; a directive put in its place frees the procedures.
    const std::vector<std::string> openEnum = {"Public Enum E", "Sub A()", "End Sub"};
    struct Case {
        const std::vector<std::string>& module;
        long line;
        std::string text;  // the line's new text, or empty to delete `deleted` lines
        long deleted = 0;
    } cases[] = {
        {split, 4, "a, _\r\nc, _"},  // lines put after a continued line join the declaration
        {split, 4, "c, _\r\na, _"},  // and so do lines put before one
        {split, 4, "  a, _"},         // a re-indented line leaves it as it is
        {split, 5, "b) _\r\n: y = 2"},
        {joined, 4, "", 2},
        {alternatives, 6, "Rem note\r\nFor i = 1 To 3"},
        {chained, 6, "", 1},
        {chainedAbove, 5, "", 1},
        {openEnum, 1, "#End If"},
    };
    for (const auto& c : cases) {
        auto m = SourceModule::Parse(Crlf(c.module));
        m->Procedures();  // the index is current before the edit
        if (c.deleted > 0) m->DeleteLines(c.line, c.deleted);
        else m->ReplaceLine(c.line, c.text);
        const auto fresh = SourceModule::Parse(m->Serialize());
        auto describe = [](const SourceModule& s) {
            std::string d = Describe(s.Procedures());
            for (const auto& p : s.Procedures()) d += " declared to " + std::to_string(p.declarationEnd);
            return d;
        };
        EXPECT_EQ(describe(*m), describe(*fresh)) << c.line << " " << c.text;
    }
}

TEST(SourceModule, IncrementalIndexMatchesAFreshParse) {
    // Re-indented continuations of a split declaration ("  a As Long)" after "Function Q( _") change
    // nothing the index reads; "Q( _" after "Sub _" names the procedure.
    // A lone " _" may stand before a declaration's keyword, so that the text put in its place decides
    // whether the statement declares anything.
    const std::vector<std::string> plain = {"x = 1", "' comment", "", "y = 2 _", "  ' note _", "z = 3",
                                            "  a As Long)", "      a As Long)", "  a As Long, _", "Q( _", " _"};
    const std::vector<std::string> structural = {"End Sub", "Sub P()", "Property Get P()", "End Property",
                                                 "Function F()", "End Function", "10 End Sub",
                                                 "Function Q( _", "Sub _"};
    std::mt19937 rng(7);
    auto pick = [&] {
        return rng() % 8 == 0 ? structural[rng() % structural.size()] : plain[rng() % plain.size()];
    };
    std::string seed;
    for (int i = 0; i < 60; ++i) seed += pick() + "\r\n";
    auto m = SourceModule::Parse("Option Explicit\r\nSub A()\r\n" + seed + "End Sub\r\nSub B()\r\nEnd Sub\r\n");
    for (int step = 0; step < 4000; ++step) {
        const long n = m->CountOfLines();
        const long line = 1 + static_cast<long>(rng() % static_cast<unsigned>(n));
        const std::string old = m->Lines(line, 1);
        switch (rng() % 4) {
            case 0: m->ReplaceLine(line, pick()); break;
            case 1: m->ReplaceLine(line, old + "\r\n" + pick()); break;
            case 2: m->ReplaceLine(line, pick() + "\r\n" + old); break;
            default:
                if (n > 5) m->DeleteLines(line, 1);
        }
        const auto fresh = SourceModule::Parse(m->Serialize());
        const long probe = 1 + static_cast<long>(rng() % static_cast<unsigned>(m->CountOfLines()));
        ProcKind kind, freshKind;
        const std::string name = m->ProcOfLine(probe, kind);
        ASSERT_EQ(name, fresh->ProcOfLine(probe, freshKind)) << "step " << step;
        ASSERT_EQ(kind, freshKind);
        if (!name.empty()) {
            ASSERT_EQ(m->ProcBodyLine(name, kind), fresh->ProcBodyLine(name, kind)) << "step " << step;
            ASSERT_EQ(m->ProcStartLine(name, kind), fresh->ProcStartLine(name, kind)) << "step " << step;
            ASSERT_EQ(m->ProcCountLines(name, kind), fresh->ProcCountLines(name, kind)) << "step " << step;
        }
        if (step % 10 == 0) {
            ASSERT_EQ(Describe(m->Procedures()), Describe(fresh->Procedures())) << "step " << step;
        }
    }
}

TEST(SourceModule, RenamingRewritesOnlyTheModulesOwnName) {
    struct Case {
        std::string before, after;
    } cases[] = {
        {"Attribute VB_Name = \"modA\"\r\nSub A()\r\nEnd Sub\r\n", "Attribute VB_Name = \"modB\"\r\nSub A()\r\nEnd Sub\r\n"},
        {"VERSION 5.00\r\nBegin VB.Form modA\r\n   Caption = \"Attribute VB_Name = \"\r\nEnd\r\nattribute vb_name=\"modA\"\n",
         "VERSION 5.00\r\nBegin VB.Form modA\r\n   Caption = \"Attribute VB_Name = \"\r\nEnd\r\nattribute vb_name=\"modB\"\n"},
        {"Sub A()\r\nEnd Sub\r\n", "Attribute VB_Name = \"modB\"\r\nSub A()\r\nEnd Sub\r\n"},
        {"\xEF\xBB\xBF" "Attribute VB_Name = \"modA\"\r\n", "\xEF\xBB\xBF" "Attribute VB_Name = \"modB\"\r\n"},
        // Lone CR breaks, and a name given twice: the value read is the value rewritten.
        {"Attribute B\rAttribute VB_Name\"modA\"\rSub A()\r", "Attribute B\rAttribute VB_Name\"modB\"\rSub A()\r"},
        {"Attribute VB_Name = \"x\"\r\nAttribute VB_Name = \"modA\"\r\n", "Attribute VB_Name = \"x\"\r\nAttribute VB_Name = \"modB\"\r\n"},
    };
    for (const auto& c : cases) {
        auto m = SourceModule::Parse(c.before);
        m->SetVBName("modB");
        EXPECT_EQ(m->Serialize(), c.after);
        EXPECT_EQ(m->VBName(), "modB");
        EXPECT_EQ(SourceModule::Parse(m->Serialize())->VBName(), "modB");
    }
}

}  // namespace
}  // namespace vex::ide
