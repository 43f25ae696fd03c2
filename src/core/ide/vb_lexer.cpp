#include "ide/vb_lexer.h"

#include <array>

#include "text/chars.h"
#include "text/cp1252.h"

namespace vex::ide::lex {

bool StartsWithWord(std::string_view s, std::string_view w) {
    return text::IStartsWith(s, w) && (s.size() == w.size() || !IsIdentChar(s[w.size()]));
}

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> tokens;
    bool statementStart = true;  // where `Rem` opens a comment
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        const size_t start = i;
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == '\'') {
            tokens.push_back({Token::Kind::Comment, s.substr(i), i});
            break;
        }
        if (c == '"') {
            ++i;
            while (i < s.size()) {
                if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') i += 2;
                else if (s[i++] == '"') break;
            }
            tokens.push_back({Token::Kind::String, s.substr(start, i - start), start});
        } else if (IsDigit(c)) {
            while (i < s.size() && IsDigit(s[i])) ++i;
            tokens.push_back({Token::Kind::Number, s.substr(start, i - start), start});
        } else if (IsLetter(c) || c == '_') {
            while (i < s.size() && IsIdentChar(s[i])) ++i;
            const auto word = s.substr(start, i - start);
            if (statementStart && text::IEquals(word, "Rem")) {
                tokens.push_back({Token::Kind::Comment, s.substr(start), start});
                break;
            }
            tokens.push_back({Token::Kind::Word, word, start});
        } else {
            ++i;
            tokens.push_back({Token::Kind::Punct, s.substr(start, 1), start});
        }
        // `Rem` starts a comment at the start of a line, after a colon or after a leading label.
        statementStart = c == ':' ;
    }
    return tokens;
}

std::string_view CodeOf(std::string_view line) {
    const auto tokens = Tokenize(line);
    if (!tokens.empty() && tokens.back().kind == Token::Kind::Comment) return line.substr(0, tokens.back().offset);
    return line;
}

namespace {
std::string_view WithoutTrailingBlanks(std::string_view line) {
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line;
}
bool EndsWithMark(std::string_view t) { return !t.empty() && t.back() == '_' && (t.size() == 1 || IsBlank(t[t.size() - 2])); }
}  // namespace

bool Continues(std::string_view line) { return EndsWithMark(WithoutTrailingBlanks(line)); }

std::string_view WithoutContinuation(std::string_view line) {
    std::string_view t = WithoutTrailingBlanks(line);
    if (!EndsWithMark(t)) return line;
    return WithoutTrailingBlanks(t.substr(0, t.size() - 1));
}

namespace {
// Words that may stand first on a line followed by a colon without being a label.
bool IsStatementKeyword(std::string_view w) {
    static constexpr std::array<std::string_view, 14> kWords = {"Else", "End",    "Stop",  "Return", "Loop",
                                                                "Next", "Wend",   "Resume", "Do",    "Beep",
                                                                "Randomize", "Reset", "Close", "Rem"};
    for (auto k : kWords)
        if (text::IEquals(w, k)) return true;
    return false;
}
}  // namespace

std::string_view LeadingLabel(std::string_view line) {
    const auto body = SkipBlanks(line);
    const size_t lead = line.size() - body.size();
    size_t i = 0;
    if (!body.empty() && IsDigit(body[0])) {
        while (i < body.size() && IsDigit(body[i])) ++i;
        if (i < body.size() && body[i] == ':') ++i;
        if (i < body.size() && !IsBlank(body[i])) return {};
    } else if (!body.empty() && IsLetter(body[0])) {
        while (i < body.size() && IsIdentChar(body[i])) ++i;
        // A label is a name and a colon; `x := 1` (a named argument) is not.
        if (i >= body.size() || body[i] != ':' || (i + 1 < body.size() && body[i + 1] == '=')) return {};
        if (IsStatementKeyword(body.substr(0, i))) return {};
        ++i;
    } else {
        return {};
    }
    while (i < body.size() && IsBlank(body[i])) ++i;
    return line.substr(0, lead + i);
}

bool StartsWithNameLabel(std::string_view line) {
    // A label ends in a colon, which most lines do not hold.
    if (line.find(':') == std::string_view::npos) return false;
    const auto body = SkipBlanks(line);
    return !body.empty() && !IsDigit(body[0]) && !LeadingLabel(line).empty();
}

std::string LeadingNumber(std::string_view line) {
    size_t end = 0;
    while (end < line.size() && IsDigit(line[end])) ++end;
    if (end == 0) return {};
    size_t start = 0;
    while (start + 1 < end && line[start] == '0') ++start;
    return std::string(line.substr(start, end - start));
}

bool IsDirective(std::string_view line) {
    const auto t = SkipBlanks(line);
    return !t.empty() && t[0] == '#';
}

std::vector<std::string_view> Statements(std::string_view line) {
    std::vector<std::string_view> out;
    const std::string_view code = line.substr(LeadingLabel(line).size());
    const auto tokens = Tokenize(code);
    size_t from = 0;
    auto add = [&](size_t to) {
        std::string_view s = text::Trim(code.substr(from, to - from));
        if (!s.empty()) out.push_back(s);
    };
    for (const auto& t : tokens) {
        if (t.kind == Token::Kind::Comment) {
            add(t.offset);
            return out;
        }
        const bool namedArgument = t.offset + 1 < code.size() && code[t.offset + 1] == '=';  // f x := 1
        if (t.kind == Token::Kind::Punct && t.text == ":" && !namedArgument) {
            add(t.offset);
            from = t.offset + 1;
        }
    }
    add(code.size());
    return out;
}

}  // namespace vex::ide::lex
