#include "engine/jump_targets.h"

#include "ide/logical_line.h"
#include "ide/vb_lexer.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {

/// The statement's words, numbers and punctuation, lower-cased; strings become one "\"" token, and a
/// comment ends the list.
std::vector<std::string> Tokens(std::string_view s) {
    std::vector<std::string> tokens;
    for (const auto& t : ide::lex::Tokenize(s)) {
        using Kind = ide::lex::Token::Kind;
        if (t.kind == Kind::Comment) break;
        tokens.push_back(t.kind == Kind::String ? std::string("\"") : text::Lower(t.text));
    }
    return tokens;
}

bool IsNumber(const std::string& t) { return !t.empty() && ide::lex::IsDigit(t[0]); }

bool IsComparison(const std::string& t) { return t == "=" || t == "<" || t == ">"; }

// False when no token of `statement` can name a line or open or close a Select block, so that lexing it
// would find nothing: one pass over the raw text that lets most statements through untokenized. It looks
// for the tokens as whole words (the lexer's: `Selected` is a name) at every word start, in names,
// strings and comments too, so it never turns away a statement the full reading would use. `inErlSelect`: a Select Case Erl block is open, where Case lists
// name lines too.
bool MayReferToLines(std::string_view s, bool inErlSelect) {
    return text::AnyWordStart(s, [&](size_t i) {
        auto at = [&](std::string_view word) { return ide::lex::KeywordAt(s, i, word); };
        // `then` or `else` followed by blanks and a digit: If ... Then 100.
        auto beforeNumber = [&](std::string_view word) {
            if (!at(word)) return false;
            const auto rest = ide::lex::SkipBlanks(s.substr(i + word.size()));
            return !rest.empty() && ide::lex::IsDigit(rest.front());
        };
        switch (text::FoldAscii(s[i])) {
            case 'g': return at("goto") || at("gosub");
            case 'r': return at("resume");
            case 's': return at("select");
            case 'c': return inErlSelect && at("case");
            case 't': return beforeNumber("then");
            case 'e': return at("erl") || beforeNumber("else");
            default: return false;
        }
    });
}

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
                    std::string n = ide::lex::LeadingNumber(tokens[m]);
                    if (!(onError && n == "0")) targets.push_back(n);
                }
                if (m + 1 >= tokens.size() || tokens[m + 1] != ",") break;
            }
        } else if (t == "erl") {
            // `Erl = 20`, `Erl <> 20`, `20 = Erl`: the handler tests the number of a line.
            size_t m = k + 1;
            while (m < tokens.size() && IsComparison(tokens[m])) ++m;
            if (m > k + 1 && m < tokens.size() && IsNumber(tokens[m])) targets.push_back(ide::lex::LeadingNumber(tokens[m]));
            size_t b = k;
            while (b > 0 && IsComparison(tokens[b - 1])) --b;
            if (b < k && b > 0 && IsNumber(tokens[b - 1])) targets.push_back(ide::lex::LeadingNumber(tokens[b - 1]));
        } else if (t == "resume" || t == "then" || t == "else") {
            if (k + 1 < tokens.size() && IsNumber(tokens[k + 1])) {
                std::string n = ide::lex::LeadingNumber(tokens[k + 1]);
                if (!(t == "resume" && n == "0")) targets.push_back(n);
            }
        }
    }
    return targets;
}

namespace {
std::vector<std::string> CaseNumbers(std::string_view statement) {
    const auto tokens = Tokens(statement);
    std::vector<std::string> numbers;
    if (tokens.empty() || tokens[0] != "case") return numbers;
    // Case 10, 20 To 30, Is = 40: every number of the list.
    for (size_t k = 1; k < tokens.size(); ++k)
        if (IsNumber(tokens[k])) numbers.push_back(ide::lex::LeadingNumber(tokens[k]));
    return numbers;
}
}  // namespace

std::map<ProcKey, JumpTargets> CollectJumpTargets(const ide::CodeModule& code) {
    std::map<ProcKey, JumpTargets> result;
    const long count = code.CountOfLines();
    // Select Case blocks, innermost last: true for those that test Erl.
    std::vector<bool> selects;
    std::string scratch, joined;
    for (long j = 1; j <= count;) {
        // Most statements fit on their line, which is read where it stands.
        std::string_view statement = code.LineText(j, scratch);
        long last = j;
        if (ide::lex::Continues(statement)) {
            last = ide::StatementLast(code, j);
            statement = joined = ide::JoinStatement(code, j, last);
        }
        const long first = j;
        j = last + 1;
        if (!MayReferToLines(statement, !selects.empty() && selects.back())) continue;
        const ProcKey key = ProcKey::At(code, first);
        if (key.name.empty()) continue;
        JumpTargets* targets = nullptr;
        auto at = [&]() -> JumpTargets& { return targets ? *targets : *(targets = &result[key]); };
        for (const auto piece : ide::lex::Statements(statement)) {
            const auto tokens = Tokens(piece);
            if (tokens.size() >= 2 && tokens[0] == "select" && tokens[1] == "case") {
                const bool erl = tokens.size() == 3 && tokens[2] == "erl";
                selects.push_back(erl);
                if (erl) at().readsErl = true;
            } else if (tokens.size() >= 2 && tokens[0] == "end" && tokens[1] == "select") {
                if (!selects.empty()) selects.pop_back();
            } else if (!selects.empty() && selects.back()) {
                for (auto& n : CaseNumbers(piece)) at().numbers.insert(std::move(n));
            }
            for (auto& n : JumpTargetsOf(piece)) at().numbers.insert(std::move(n));
            for (const auto& t : tokens)
                if (t == "erl") at().readsErl = true;
        }
    }
    return result;
}

}  // namespace vex::engine
