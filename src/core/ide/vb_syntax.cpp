#include "ide/vb_syntax.h"

#include "ide/vb_lexer.h"
#include "text/cp1252.h"

namespace vex::ide::syntax {
namespace {

using lex::IsBlank;
using lex::IsIdentChar;
using lex::SkipBlanks;
using lex::StartsWithWord;

// Takes the next word (identifier characters) off `s`.
std::string_view TakeWord(std::string_view& s) {
    s = SkipBlanks(s);
    size_t i = 0;
    while (i < s.size() && IsIdentChar(s[i])) ++i;
    const auto word = s.substr(0, i);
    s.remove_prefix(i);
    return word;
}

std::string_view TakeScope(std::string_view& rest) {
    std::string_view probe = rest;
    const std::string_view word = TakeWord(probe);
    for (std::string_view scope : {"Public", "Private", "Friend", "Global"})
        if (text::IEquals(word, scope)) {
            rest = probe;
            return word;
        }
    return {};
}

}  // namespace

std::optional<Declaration> MatchDeclaration(std::string_view line) {
    std::string_view rest = line;
    TakeScope(rest);
    std::string_view word = TakeWord(rest);
    if (text::IEquals(word, "Static")) word = TakeWord(rest);

    Declaration d;
    if (text::IEquals(word, "Sub") || text::IEquals(word, "Function")) {
        d.kind = ProcKind::Proc;
    } else if (text::IEquals(word, "Property")) {
        const auto which = TakeWord(rest);
        if (text::IEquals(which, "Get")) d.kind = ProcKind::Get;
        else if (text::IEquals(which, "Let")) d.kind = ProcKind::Let;
        else if (text::IEquals(which, "Set")) d.kind = ProcKind::Set;
        else return std::nullopt;
    } else {
        return std::nullopt;
    }
    d.keyword = std::string(word);

    // The name must be separated from the keyword by a blank.
    if (rest.empty() || !IsBlank(rest.front())) return std::nullopt;
    rest = SkipBlanks(rest);
    if (rest.empty()) return std::nullopt;
    if (rest.front() == '[') {  // an escaped name: [Name With Blanks]
        const auto close = rest.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        d.name = std::string(rest.substr(0, close + 1));
        return d;
    }
    if (!lex::IsLetter(rest.front())) return std::nullopt;
    d.name = std::string(TakeWord(rest));
    return d;
}

namespace {
EndKind EndOfStatement(std::string_view statement) {
    auto rest = SkipBlanks(statement);
    // Told at the first byte for most statements.
    if (rest.empty() || text::FoldAscii(rest.front()) != 'e' || !StartsWithWord(rest, "End")) return EndKind::None;
    rest = rest.substr(3);
    if (rest.empty() || !IsBlank(rest.front())) return EndKind::None;
    rest = SkipBlanks(rest);
    if (StartsWithWord(rest, "Sub")) return EndKind::Sub;
    if (StartsWithWord(rest, "Function")) return EndKind::Function;
    if (StartsWithWord(rest, "Property")) return EndKind::Property;
    return EndKind::None;
}
}  // namespace

EndKind MatchEnd(std::string_view line) {
    const auto body = SkipBlanks(line);
    // Told at the first byte for most lines: an End statement starts with its E unless a line number
    // (a digit) or a label (a name and a colon) comes first.
    if (body.empty() || (text::FoldAscii(body.front()) != 'e' && !lex::IsDigit(body.front()) &&
                         body.find(':') == std::string_view::npos))
        return EndKind::None;
    return EndOfStatement(body.substr(lex::LeadingLabel(body).size()));
}

EndKind TrailingEnd(std::string_view line) {
    if (line.find(':') == std::string_view::npos) return EndKind::None;
    const auto statements = lex::Statements(line);
    for (size_t k = 1; k < statements.size(); ++k)
        if (const EndKind e = EndOfStatement(statements[k]); e != EndKind::None) return e;
    return EndKind::None;
}

EndKind EndFor(std::string_view keyword) {
    if (text::IEquals(keyword, "Sub")) return EndKind::Sub;
    if (text::IEquals(keyword, "Function")) return EndKind::Function;
    if (text::IEquals(keyword, "Property")) return EndKind::Property;
    return EndKind::None;
}

std::string_view EndWord(EndKind kind) {
    switch (kind) {
        case EndKind::Sub: return "Sub";
        case EndKind::Function: return "Function";
        case EndKind::Property: return "Property";
        case EndKind::None: break;
    }
    return {};
}

BlockKind MatchBlockStart(std::string_view line) {
    std::string_view rest = line;
    TakeScope(rest);
    const std::string_view word = TakeWord(rest);
    BlockKind kind = BlockKind::None;
    if (text::IEquals(word, "Type")) kind = BlockKind::Type;
    else if (text::IEquals(word, "Enum")) kind = BlockKind::Enum;
    else return BlockKind::None;
    // A name must follow: `Type = 3` assigns to a variable.
    if (rest.empty() || !IsBlank(rest.front())) return BlockKind::None;
    rest = SkipBlanks(rest);
    return !rest.empty() && (lex::IsLetter(rest.front()) || rest.front() == '[') ? kind : BlockKind::None;
}

bool MatchBlockEnd(std::string_view line, BlockKind kind) {
    const auto body = SkipBlanks(line);
    auto rest = SkipBlanks(body.substr(lex::LeadingLabel(body).size()));
    if (rest.empty() || text::FoldAscii(rest.front()) != 'e' || !StartsWithWord(rest, "End")) return false;
    rest = SkipBlanks(rest.substr(3));
    return StartsWithWord(rest, kind == BlockKind::Type ? "Type" : "Enum");
}

bool IsBlankOrComment(std::string_view line) {
    // Most lines hold a statement, told by their first character (a digit, or a letter other than the R
    // of Rem) without lexing the line; a quote opens a comment wherever a line starts.
    const std::string_view t = lex::SkipBlanks(line);
    if (t.empty() || t[0] == '\'') return true;
    const char c = text::FoldAscii(t[0]);
    if ((c >= 'a' && c <= 'z' && c != 'r') || (c >= '0' && c <= '9')) return false;
    if (c == 'r' && !StartsWithWord(t, "Rem")) return false;  // Resume, ReDim, RaiseEvent...
    const auto tokens = lex::Tokenize(line);
    return tokens.empty() || tokens.front().kind == lex::Token::Kind::Comment;
}

bool IsAttributeLine(std::string_view line) { return text::IStartsWith(line, "Attribute "); }

}  // namespace vex::ide::syntax
