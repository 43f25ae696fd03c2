#pragma once
// What every fuzz target shares: a failed property aborts with a message (libFuzzer keeps the input),
// and VB6-like lines drawn from the fuzzer's bytes, so that the passes see procedures, blocks,
// continuations, labels and markers rather than noise only.

#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace vex::fuzz {

/// Aborts the run with `what` when `ok` is false.
inline void Check(bool ok, std::string_view what, std::string_view detail = {}) {
    if (ok) return;
    std::fprintf(stderr, "property failed: %.*s\n%.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// Lines the readers and passes react to; the fuzzer mixes them with bytes of its own.
inline constexpr std::string_view kVocabulary[] = {
    "Option Explicit", "", "   ", "Private Sub S()", "Public Function F(ByVal a As Long) As Long",
    "Property Get P() As Long", "Property Let P(ByVal v As Long)", "Property Set P(ByVal o As Object)",
    "Friend Static Sub T()", "Sub U(a, _", "    b)", "End Sub", "End Function", "End Property", "If a Then",
    "Else", "ElseIf b Then", "End If", "If a Then b = 1 Else b = 2", "For i = 1 To 3", "Next i", "Next",
    "Do While x", "Loop", "Select Case x", "Case 1", "Case Else", "End Select", "With o", "End With",
    "x = 1 + _", "        2", "' a comment _", "Rem note", "10 x = 2", "20: y = 3", "Retry:",
    "On Error GoTo Retry", "GoTo 10", "Resume Next", "Debug.Print \"a\"", "Debug.Print x: y = 1",
    "    Debug.Print a; _", "#If VBA7 Then", "#Else", "#End If", "Private Type T", "    a As Long",
    "End Type", "Public Enum E", "End Enum", "Dim s As String", "s = \"it's \"\"q\"\" _\"",
    "'########## %Manage Error% ##########", "On Error GoTo ErreurOrvel", "Exit Sub", "Exit Function",
    "ErreurOrvel:", "Function G(): G = 1: End Function", "Attribute S.VB_Description = \"d\"",
    "Declare Function A Lib \"k\" () As Long", "Event Changed()", "_", "x = a_", "Sub FollowProgram()",
    "While x", "Wend", "Else:", "Call F(x := 1)", "' %No Manage Error%", "Private Function H$()",
    "65535 z = 1",
};

/// One line without a line break: a word of the vocabulary, or bytes of the input, with blanks in front
/// and a continuation after now and then.
inline std::string DrawLine(FuzzedDataProvider& in) {
    std::string line;
    const int form = in.ConsumeIntegralInRange(0, 7);
    line.append(in.ConsumeIntegralInRange(0, 3) == 0 ? in.ConsumeIntegralInRange(0, 9) : 0, ' ');
    if (form == 0) {
        for (char c : in.ConsumeRandomLengthString(40))
            if (c != '\r' && c != '\n' && c != '\0') line += c;
    } else {
        line += kVocabulary[in.ConsumeIntegralInRange<size_t>(0, std::size(kVocabulary) - 1)];
    }
    if (form == 1) line += " _";
    return line;
}

/// Up to `most` lines drawn as above.
inline std::vector<std::string> DrawLines(FuzzedDataProvider& in, size_t most) {
    std::vector<std::string> lines(in.ConsumeIntegralInRange<size_t>(0, most));
    for (auto& l : lines) l = DrawLine(in);
    return lines;
}

}  // namespace vex::fuzz
