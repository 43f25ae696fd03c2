#include "engine/procedure_statements.h"

#include "ide/vb_syntax.h"

#include "text/cp1252.h"

namespace vex::engine {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u >= 0x80;
}

std::string_view SkipBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

/// The leading word of `s` (identifier characters), possibly empty.
std::string_view LeadingWord(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsWordChar(s[i])) ++i;
    return s.substr(0, i);
}

}  // namespace

std::string KindWord(std::string_view declaration) {
    std::string_view rest = SkipBlanks(declaration);
    for (;;) {
        const std::string_view word = LeadingWord(rest);
        if (word.empty()) return {};
        if (text::IEquals(word, "sub")) return "Sub";
        if (text::IEquals(word, "function")) return "Function";
        if (text::IEquals(word, "property")) return "Property";
        if (!text::IEquals(word, "public") && !text::IEquals(word, "private") && !text::IEquals(word, "friend") &&
            !text::IEquals(word, "static"))
            return {};
        rest = rest.substr(word.size());
        if (rest.empty() || !IsBlank(rest.front())) return {};
        rest = SkipBlanks(rest);
    }
}

long DeclarationLastLine(const ide::CodeModule& code, long bodyLine, long lastLine) {
    long j = bodyLine;
    while (j < lastLine && ide::syntax::Continues(code.Lines(j, 1))) ++j;
    return j;
}

bool IsProcedureEnd(std::string_view line, std::string_view kindWord) {
    if (kindWord.empty()) return false;
    std::string_view rest = SkipBlanks(line);
    // An optional line number ("10 ", "10: ") or label ("Fin: ") may stand before the statement.
    const std::string_view lead = LeadingWord(rest);
    if (!lead.empty() && !text::IEquals(lead, "end")) {
        std::string_view after = rest.substr(lead.size());
        const bool number = lead.find_first_not_of("0123456789") == std::string_view::npos;
        if (!after.empty() && after.front() == ':') {
            after.remove_prefix(1);
        } else if (!number) {
            return false;
        }
        if (!after.empty() && !IsBlank(after.front())) return false;
        rest = SkipBlanks(after);
    }
    const std::string_view end = LeadingWord(rest);
    if (!text::IEquals(end, "end")) return false;
    rest = rest.substr(end.size());
    if (rest.empty() || !IsBlank(rest.front())) return false;
    rest = SkipBlanks(rest);
    return text::IEquals(LeadingWord(rest), kindWord);
}

long FindProcedureEnd(const ide::CodeModule& code, std::string_view kindWord, long declarationLast, long lastLine) {
    if (kindWord.empty()) return 0;
    for (long j = declarationLast + 1; j <= lastLine; ++j)
        if (IsProcedureEnd(code.Lines(j, 1), kindWord)) return j;
    return 0;
}

}  // namespace vex::engine
