#include "engine/indent_keywords.h"

#include "ide/vb_lexer.h"
#include "text/cp1252.h"

namespace vex::engine {
namespace {

/// Splits off the leading word of `s` and the blanks after it.
std::string_view TakeWord(std::string_view& s) {
    size_t i = 0;
    while (i < s.size() && ide::lex::IsIdentChar(s[i])) ++i;
    const std::string_view word = s.substr(0, i);
    s = ide::lex::SkipBlanks(s.substr(i));
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
    const auto tokens = ide::lex::Tokenize(code);
    using Kind = ide::lex::Token::Kind;
    for (size_t k = 0; k < tokens.size(); ++k) {
        if (tokens[k].kind == Kind::Word && text::IEquals(tokens[k].text, "then"))
            return k + 1 == tokens.size() || tokens[k + 1].kind == Kind::Comment;
    }
    return false;
}

}  // namespace vex::engine
