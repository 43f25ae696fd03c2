#pragma once
// The lexical rules of VB6 code lines, stated once for the whole system. A line is Windows-1252 bytes
// without its line break. Invariants the rest of the code relies on:
//   - a string literal runs from `"` to the next lone `"` (`""` inside it is one quote); an unclosed
//     string runs to the end of the line;
//   - a comment starts at `'` outside a string, or at the word `Rem` where a statement begins, and runs to
//     the end of the line;
//   - a line continues into the next when it ends with a blank and `_`, trailing blanks allowed, or is
//     `_` alone; as in VB, a comment that ends so continues into the next line too (that line is
//     comment text), and `a_` (no blank) is a name, not a continuation;
//   - a label is a name or a number followed by a colon, as the first thing on the line; a line number is
//     a number at the start of the line, with or without a colon. A statement keyword (`Else:`) is no label.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "text/chars.h"
#include "text/cp1252.h"

namespace vex::ide::lex {

// The character classes are inline: every rule below asks them of every byte it reads.

inline bool IsBlank(char c) { return text::IsBlank(c); }
inline bool IsDigit(char c) { return text::IsDigit(c); }

/// A letter: ASCII, or a letter of Windows-1252 (Š Œ Ž š œ ž Ÿ ª µ º and À..ÿ but × and ÷).
inline bool IsLetter(char c) {
    static constexpr auto kLetters = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<size_t>(b)] = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= 0xC0 && b != 0xD7 && b != 0xF7);
        for (int b : {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA}) t[static_cast<size_t>(b)] = true;
        return t;
    }();
    return kLetters[static_cast<unsigned char>(c)];
}

/// A character that may continue an identifier: a letter, a digit or `_`.
inline bool IsIdentChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }

inline std::string_view SkipBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

struct Token {
    enum class Kind { Word, Number, String, Comment, Punct };
    Kind kind;
    std::string_view text;  ///< a view into the line; Punct is one character
    size_t offset = 0;      ///< where the token starts in the line
};

/// The tokens of one physical line, blanks dropped. A comment is the last token.
std::vector<Token> Tokenize(std::string_view line);

/// The line's code: the text before its comment, trailing blanks kept.
std::string_view CodeOf(std::string_view line);

/// True when the line continues into the next one (see the rule above).
bool Continues(std::string_view line);

/// A continued line without its continuation mark (and the blanks before it); other lines as they are.
std::string_view WithoutContinuation(std::string_view line);

/// The line number or label the line starts with (`10`, `10:`, `Retry:`), with the blanks after it;
/// empty if none. `x := 1` (a named argument) and `Else:` are not labels.
std::string_view LeadingLabel(std::string_view line);

/// True when the line starts with a name label (not a number).
bool StartsWithNameLabel(std::string_view line);

/// The line number a line begins with in its first column, leading zeros dropped ("0" for zeros only);
/// empty when the first character is not a digit.
std::string LeadingNumber(std::string_view line);

/// True for a compiler directive line (#If, #ElseIf, #Else, #End If, #Const).
bool IsDirective(std::string_view line);

/// The statements of a line of code, split at colons outside strings and before any comment, each
/// trimmed of blanks. A leading label is not a statement of its own.
std::vector<std::string_view> Statements(std::string_view code);

/// True when `s` starts with the word `w` (any case) and no identifier character follows it.
bool StartsWithWord(std::string_view s, std::string_view w);

/// StartsWithWord(s.substr(at), word) for a `word` of lower-case ASCII letters, inline: for the quick
/// scans, which ask it at every word start.
inline bool KeywordAt(std::string_view s, size_t at, std::string_view word) {
    return text::WordAt(s, at, word) && (at + word.size() == s.size() || !IsIdentChar(s[at + word.size()]));
}

}  // namespace vex::ide::lex
