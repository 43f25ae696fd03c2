#include "engine/indent_keywords.h"

#include "text/cp1252.h"

namespace vex::engine {
namespace {

bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u >= 0x80;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/// Splits off the leading word of `s` and the blanks after it.
std::string_view TakeWord(std::string_view& s) {
    size_t i = 0;
    while (i < s.size() && IsWordChar(s[i])) ++i;
    const std::string_view word = s.substr(0, i);
    while (i < s.size() && IsBlank(s[i])) ++i;
    s.remove_prefix(i);
    return word;
}

}  // namespace

IndentRow ClassifyIndent(std::string_view code) {
    std::string_view rest = code;
    const std::string_view first = TakeWord(rest);
    const std::string_view second = TakeWord(rest);
    auto is = [](std::string_view word, std::string_view keyword) { return text::IEquals(word, keyword); };

    if (is(first, "if")) return IndentRow::If;
    if (is(first, "select") && is(second, "case")) return IndentRow::SelectCase;
    if (is(first, "case")) return IndentRow::Case;
    if (is(first, "for") || is(first, "do") || is(first, "while") || is(first, "with")) return IndentRow::Opener;
    if (is(first, "else") || is(first, "elseif")) return IndentRow::Else;
    if (is(first, "end")) {
        if (is(second, "if") || is(second, "with")) return IndentRow::Closer;
        if (is(second, "select")) return IndentRow::EndSelect;
        if (is(second, "sub") || is(second, "function") || is(second, "property")) return IndentRow::EndProcedure;
        return IndentRow::Other;
    }
    if (is(first, "next") || is(first, "loop") || is(first, "wend")) return IndentRow::Closer;
    return IndentRow::Other;
}

bool IsBlockIf(std::string_view code) {
    bool inString = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            inString = !inString;
            continue;
        }
        if (inString) continue;
        if (c == '\'') return false;  // a comment before any Then
        if (!IsWordChar(c)) continue;
        size_t j = i;
        while (j < code.size() && IsWordChar(code[j])) ++j;
        if (text::IEquals(code.substr(i, j - i), "then")) {
            const std::string_view after = text::Trim(code.substr(j));
            return after.empty() || after.front() == '\'';
        }
        i = j - 1;
    }
    return false;
}

}  // namespace vex::engine
