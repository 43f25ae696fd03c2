#pragma once
// Where a procedure's declaration ends. It is one logical line, except where a procedure is declared
// twice for two compilers:
//
//     #If VBA7 Then
//     Private Function F(ByVal p As LongPtr) As LongPtr
//     #Else
//     Private Function F(ByVal p As Long) As Long
//     #End If
//
// Only one branch is compiled, so the declaration ends at the #End If: code inserted after the first
// signature would be compiled out with its branch.

#include <optional>
#include <string>
#include <string_view>

#include "ide/vb_lexer.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::ide {

/// The last line of the logical line that starts on `first`, never beyond `limit`.
template <class LineAt>
long LogicalLast(const LineAt& lineAt, long first, long limit) {
    long j = first;
    while (j < limit && lex::Continues(lineAt(j))) ++j;
    return j;
}

/// Lines `first`..`last` joined into one logical line.
template <class LineAt>
std::string JoinLogical(const LineAt& lineAt, long first, long last) {
    if (first == last) return std::string(lineAt(first));
    std::string joined;
    for (long j = first; j < last; ++j) {
        joined += lex::WithoutContinuation(lineAt(j));
        joined += ' ';
    }
    joined += lineAt(last);
    return joined;
}

/// The declaration lines `first`..`last` make as one logical line, if any. Most are one line, read where
/// it stands (so `lineAt`'s text is used before another line is asked for).
template <class LineAt>
std::optional<syntax::Declaration> MatchLogicalDeclaration(const LineAt& lineAt, long first, long last) {
    if (first == last) return syntax::MatchDeclaration(lineAt(first));
    return syntax::MatchDeclaration(JoinLogical(lineAt, first, last));
}

/// The last line of the declaration that starts on `body` (see above), never beyond `limit`.
/// `lineAt(j)` gives line j's text.
template <class LineAt>
long DeclarationEnd(const LineAt& lineAt, long body, long limit) {
    const long last = LogicalLast(lineAt, body, limit);
    const auto first = MatchLogicalDeclaration(lineAt, body, last);
    if (!first) return last;
    auto directive = [](std::string_view line, std::string_view word) {
        const auto t = lex::SkipBlanks(line);
        return !t.empty() && t[0] == '#' && lex::StartsWithWord(lex::SkipBlanks(t.substr(1)), word);
    };
    long j = last + 1;
    auto skipBlankLines = [&] {
        while (j <= limit && syntax::IsBlankOrComment(lineAt(j))) ++j;
    };
    skipBlankLines();
    if (j > limit || !(directive(lineAt(j), "Else") || directive(lineAt(j), "ElseIf"))) return last;
    // Each #Else/#ElseIf branch holds another signature of the same procedure.
    while (j <= limit && (directive(lineAt(j), "Else") || directive(lineAt(j), "ElseIf"))) {
        ++j;
        skipBlankLines();
        if (j > limit) return last;
        const long altLast = LogicalLast(lineAt, j, limit);
        const auto other = MatchLogicalDeclaration(lineAt, j, altLast);
        if (!other || !text::IEquals(other->name, first->name) || other->kind != first->kind) return last;
        j = altLast + 1;
        skipBlankLines();
    }
    if (j <= limit && directive(lineAt(j), "End")) return j;
    return last;
}

}  // namespace vex::ide
