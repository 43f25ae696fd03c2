#include "engine/jump_targets.h"

#include "engine/vb_lines.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsDigit(c) || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || c == '_' || u >= 0xC0;
}

/// The statement's words, numbers and punctuation, lower-cased; strings become one "\"" token, and a
/// comment ends the list.
std::vector<std::string> Tokens(std::string_view s) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '"') {
            ++i;
            while (i < s.size()) {
                if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') i += 2;
                else if (s[i++] == '"') break;
            }
            tokens.emplace_back("\"");
        } else if (c == '\'') {
            break;
        } else if (IsWordChar(c)) {
            size_t start = i;
            while (i < s.size() && IsWordChar(s[i])) ++i;
            std::string word = text::Lower(s.substr(start, i - start));
            // "Rem" opens a comment where a statement begins.
            if (word == "rem" && (tokens.empty() || tokens.back() == ":")) break;
            tokens.push_back(std::move(word));
        } else {
            tokens.emplace_back(1, c);
            ++i;
        }
    }
    return tokens;
}

bool IsNumber(const std::string& t) { return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos; }

}  // namespace

std::vector<std::string> JumpTargetsOf(std::string_view statement) {
    const auto tokens = Tokens(statement);
    std::vector<std::string> targets;
    for (size_t k = 0; k < tokens.size(); ++k) {
        const std::string& t = tokens[k];
        if (t == "goto" || t == "gosub") {
            const bool onError = k > 0 && tokens[k - 1] == "error";
            // On x GoTo a, b, c: a list; a plain GoTo has one.
            for (size_t m = k + 1; m < tokens.size(); m += 2) {
                if (IsNumber(tokens[m])) {
                    std::string n = LeadingNumber(tokens[m]);
                    if (!(onError && n == "0")) targets.push_back(n);
                }
                if (m + 1 >= tokens.size() || tokens[m + 1] != ",") break;
            }
        } else if (t == "resume" || t == "then" || t == "else") {
            if (k + 1 < tokens.size() && IsNumber(tokens[k + 1])) {
                std::string n = LeadingNumber(tokens[k + 1]);
                if (!(t == "resume" && n == "0")) targets.push_back(n);
            }
        }
    }
    return targets;
}

std::map<ProcKey, NumberSet> CollectJumpTargets(const ide::CodeModule& code) {
    std::map<ProcKey, NumberSet> result;
    const long count = code.CountOfLines();
    std::string statement;
    ProcKey key;
    for (long j = 1; j <= count; ++j) {
        const std::string line = code.Lines(j, 1);
        if (statement.empty()) {
            ide::ProcKind kind = ide::ProcKind::Proc;
            key.name = code.ProcOfLine(j, kind);
            key.kind = kind;
        }
        if (ide::syntax::Continues(line) && j < count) {
            std::string_view t = text::RTrim(line);
            statement.append(t.substr(0, t.size() - 1));
            statement += ' ';
            continue;
        }
        statement += line;
        if (!key.name.empty())
            for (auto& n : JumpTargetsOf(statement)) result[key].insert(std::move(n));
        statement.clear();
    }
    return result;
}

}  // namespace vex::engine
