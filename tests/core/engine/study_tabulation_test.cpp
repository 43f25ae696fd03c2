#include "engine/study_tabulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine_test_util.h"

namespace vex::engine {
namespace {

using testing::EngineRun;
using testing::Lines;
using testing::kSep;

struct TabCase {
    const char* what;
    Lines before;  ///< the whole module; empty: the layout below with every line flush left
    Lines after;  ///< the whole module, laid out
    std::map<std::string, std::string> options = {};
};

void PrintTo(const TabCase& c, std::ostream* os) { *os << c.what; }

class TabCases : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabCases, LaidOutOnceAndForAll) {
    const TabCase& c = GetParam();
    Lines before = c.before;
    if (before.empty())
        for (const auto& line : c.after) before.push_back(line.substr(std::min(line.find_first_not_of(' '), line.size())));
    EngineRun run({{"modA", before}});
    for (const auto& [k, v] : c.options) run.SetOption(k, v);
    StudyTabulation(run.fx.host, run.lst);
    EXPECT_EQ(run.Leftovers(), "");
    EXPECT_EQ(run.Module(), c.after);
    StudyTabulation(run.fx.host, run.lst);
    EXPECT_EQ(run.Module(), c.after) << "a second run changed the layout";
    EXPECT_EQ(run.fx.result.Text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, TabCases,
    ::testing::Values(
        TabCase{"the eleven-line example",
                {"Sub P()", "Dim x", "If x Then", "x = 1", "  Else", "x = 2", "End If", "Select Case x", "Case 1",
                 "y = 2", "End Select", "    End Sub"},
                {"Sub P()", "    Dim x", "    If x Then", "        x = 1", "    Else", "        x = 2", "    End If",
                 "    Select Case x", "        Case 1", "            y = 2", "    End Select", "End Sub"}},
        TabCase{"a continuation line that starts with digits is no numbered line",
                {}, {"Sub A()", "    x = f(1, _", "    10, 30, 250, 15)", "End Sub"}},
        TabCase{"single-line If keeps the level, a commented block If raises it",
                {}, {"Sub P()", "    If x Then y = 1", "    If y ' Then", "    If x Then ' why", "        IF Z THEN",
                 "            z = 2", "        end if", "    end if", "End Sub"}},
        TabCase{"Then is a whole word outside strings",
                {}, {"Sub P()", "    If Authenticated Then", "        If s = \"Then\" Then", "            x = 1",
                 "        End If", "    End If", "End Sub"}},
        TabCase{"keywords are whole words; ElseIf is Else; a bare Do opens",
                {}, {"Sub P()", "    NextItem = 1", "    Case1 = 2", "    Elsewhere = 0", "    If a Then", "        x",
                 "    ElseIf b Then", "        y", "    End If", "    Do", "        for i = 1 to 2",
                 "            While w", "                With o", "                    z", "                End With",
                 "            Wend", "        next", "    Loop", "    DoEvents", "End Sub"}},
        TabCase{"a continued statement is one statement",
                {}, {"Sub P()", "    If a And _", "        b Then", "        x = 1", "    End If", "    y = f(1, _",
                 "    Next)", "    If c Then _", "    z = 1", "    w = 2", "End Sub"}},
        TabCase{"a procedure defined in each #If branch: each copy is laid out on its own",
                {}, {"#If VBA7 Then", "Function F() As LongPtr", "    If p Then", "        F = 1", "    End If",
                 "End Function", "#Else", "Function F() As Long", "    If p Then", "        F = 2", "    End If",
                 "End Function", "#End If"}},
        TabCase{"numbered lines keep their number in front",
                {"Sub P()", "10 For i = 1 To 2", "20    x = 1", "30 Next", "40", "End Sub"},
                {"Sub P()", "10     For i = 1 To 2", "20         x = 1", "30     Next", "    40", "End Sub"}},
        TabCase{"inserted handlers are laid out from column 0",
                {"Sub A()", kSep, "On Error GoTo ErreurOrvel", kSep, "x = 1", kSep, "Exit Sub",
                 "ErreurOrvel:", "Select Case gestErreur(\"A\", Err, Erl)", "   Case vbRetry", "       Resume",
                 "  Case vbAbort", "End Select", kSep, "End Sub"},
                {"Sub A()", kSep, "On Error GoTo ErreurOrvel", kSep, "    x = 1", kSep, "Exit Sub",
                 "ErreurOrvel:", "Select Case gestErreur(\"A\", Err, Erl)", "    Case vbRetry", "        Resume",
                 "    Case vbAbort", "End Select", kSep, "End Sub"}},
        TabCase{"an empty ErrorKey flips on every non-empty line",
                {}, {"Sub P()", "x = 1", "    For i = 1 To 2", "y = 2", "Next", "End Sub"},
                {{"ErrorKey", ""}}},
        TabCase{"declarations, declaration lines, comments above and blank lines stay",
                {"  Option Explicit", "   ' about P", "  Public Function P( _", "a As Long) As Long", "   ", "P = a",
                 "End Function"},
                {"  Option Explicit", "   ' about P", "  Public Function P( _", "    a As Long) As Long", "   ",
                 "    P = a", "End Function"}},
        TabCase{"End Property stands at column 0",
                {"Property Get V() As Long", "V = 1", "  End Property", "Property Let V(x As Long)", "If x Then",
                 "m = x", "End If", "End Property"},
                {"Property Get V() As Long", "    V = 1", "End Property", "Property Let V(x As Long)", "    If x Then",
                 "        m = x", "    End If", "End Property"}},
        TabCase{"other steps",
                {}, {"Sub P()", "For i = 1 To 2", "  Select Case i", "    Case 1", "      x", "  End Select", "Next",
                 "End Sub"},
                {{"Tabulation", "2.5"}, {"TabStart", "0"}}}));

}  // namespace
}  // namespace vex::engine
