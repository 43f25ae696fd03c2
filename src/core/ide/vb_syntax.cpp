#include "ide/vb_syntax.h"

#include "text/cp1252.h"

namespace vex::ide::syntax {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsIdentStart(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0xC0;
}

std::string_view SkipBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

// Takes the next word (identifier characters) off `s`.
std::string_view TakeWord(std::string_view& s) {
    s = SkipBlanks(s);
    size_t i = 0;
    while (i < s.size() && IsIdentChar(s[i])) ++i;
    const auto word = s.substr(0, i);
    s.remove_prefix(i);
    return word;
}

// True when `s` starts with the word `w` (any case) and a non-identifier character follows it.
bool StartsWithWord(std::string_view s, std::string_view w) {
    return text::IStartsWith(s, w) && (s.size() == w.size() || !IsIdentChar(s[w.size()]));
}

}  // namespace

bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c) || c == '_'; }

std::optional<Declaration> MatchDeclaration(std::string_view line) {
    std::string_view rest = line;
    std::string_view word = TakeWord(rest);
    for (std::string_view scope : {"Public", "Private", "Friend", "Global"}) {
        if (text::IEquals(word, scope)) {
            word = TakeWord(rest);
            break;
        }
    }
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
    if (!IsIdentStart(rest.front())) return std::nullopt;
    d.name = std::string(TakeWord(rest));
    return d;
}

std::string_view LeadingLabel(std::string_view line) {
    const auto body = SkipBlanks(line);
    const size_t lead = line.size() - body.size();
    size_t i = 0;
    if (!body.empty() && IsDigit(body[0])) {
        while (i < body.size() && IsDigit(body[i])) ++i;
        if (i < body.size() && body[i] == ':') ++i;
        if (i < body.size() && !IsBlank(body[i])) return {};
    } else if (!body.empty() && IsIdentStart(body[0])) {
        while (i < body.size() && IsIdentChar(body[i])) ++i;
        // A label is a name and a colon; `x := 1` (a named argument) is not.
        if (i >= body.size() || body[i] != ':' || (i + 1 < body.size() && body[i + 1] == '=')) return {};
        ++i;
    } else {
        return {};
    }
    while (i < body.size() && IsBlank(body[i])) ++i;
    return line.substr(0, lead + i);
}

EndKind MatchEnd(std::string_view line) {
    auto rest = SkipBlanks(line.substr(LeadingLabel(line).size()));
    if (!StartsWithWord(rest, "End")) return EndKind::None;
    rest = rest.substr(3);
    if (rest.empty() || !IsBlank(rest.front())) return EndKind::None;
    rest = SkipBlanks(rest);
    if (StartsWithWord(rest, "Sub")) return EndKind::Sub;
    if (StartsWithWord(rest, "Function")) return EndKind::Function;
    if (StartsWithWord(rest, "Property")) return EndKind::Property;
    return EndKind::None;
}

bool Continues(std::string_view line) {
    size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) --end;
    if (end == 0 || line[end - 1] != '_') return false;
    return end == 1 || IsBlank(line[end - 2]);
}

bool IsBlankOrComment(std::string_view line) {
    const auto body = SkipBlanks(line);
    return body.empty() || body.front() == '\'' || StartsWithWord(body, "Rem");
}

bool IsAttributeLine(std::string_view line) { return text::IStartsWith(line, "Attribute "); }

}  // namespace vex::ide::syntax
