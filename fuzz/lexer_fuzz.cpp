// The lexer and the statement tests on any line: views stay inside the line, tokens cover it in order
// with only blanks between them, and the derived views agree with the tokens.

#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "ide/vb_lexer.h"
#include "ide/vb_syntax.h"

namespace {

using namespace vex::ide;
using vex::fuzz::Check;

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void CheckTokens(std::string_view line) {
    const auto tokens = lex::Tokenize(line);
    size_t at = 0;
    for (size_t k = 0; k < tokens.size(); ++k) {
        const auto& t = tokens[k];
        Check(!t.text.empty() && t.text.data() == line.data() + t.offset && Inside(t.text, line), "token is a view of the line", line);
        Check(t.offset >= at, "tokens in order", line);
        for (size_t i = at; i < t.offset; ++i) Check(lex::IsBlank(line[i]), "only blanks between tokens", line);
        at = t.offset + t.text.size();
        switch (t.kind) {
            case lex::Token::Kind::Comment:
                Check(k + 1 == tokens.size() && at == line.size(), "a comment is the last token and ends the line", line);
                break;
            case lex::Token::Kind::String: Check(t.text.front() == '"', "a string starts with a quote", line); break;
            case lex::Token::Kind::Number: Check(lex::IsDigit(t.text.front()), "a number starts with a digit", line); break;
            case lex::Token::Kind::Punct: Check(t.text.size() == 1, "punctuation is one character", line); break;
            case lex::Token::Kind::Word: break;
        }
    }
    for (size_t i = at; i < line.size(); ++i) Check(lex::IsBlank(line[i]), "only blanks after the last token", line);

    const auto code = lex::CodeOf(line);
    const bool commented = !tokens.empty() && tokens.back().kind == lex::Token::Kind::Comment;
    Check(code.data() == line.data() && code.size() == (commented ? tokens.back().offset : line.size()),
          "CodeOf is the text before the comment", line);
}

void CheckViews(std::string_view line) {
    const auto without = lex::WithoutContinuation(line);
    Check(without.data() == line.data() && without.size() <= line.size(), "WithoutContinuation is a prefix", line);
    Check(lex::Continues(line) == (without.size() < line.size()), "WithoutContinuation shortens exactly the continued lines",
          line);
    const auto label = lex::LeadingLabel(line);
    Check(label.data() == line.data() || label.empty(), "LeadingLabel is a prefix", line);
    Check(!lex::StartsWithNameLabel(line) || !label.empty(), "a name label is a label", line);

    const std::string number = lex::LeadingNumber(line);
    Check(number.empty() == (line.empty() || !lex::IsDigit(line[0])), "a leading number iff a first digit", line);
    for (char c : number) Check(lex::IsDigit(c), "a leading number holds digits only", line);
    Check(number.size() <= 1 || number[0] != '0', "a leading number has no leading zero", line);

    const auto code = lex::CodeOf(line);
    for (const auto s : lex::Statements(code)) {
        Check(!s.empty() && Inside(s, code), "a statement is a view of the code", line);
        Check(s.front() != ' ' && s.back() != ' ', "a statement is trimmed", line);
    }
}

void CheckSyntax(std::string_view line) {
    if (const auto d = syntax::MatchDeclaration(line)) Check(!d->name.empty(), "a declaration names its procedure", line);
    if (syntax::IsBlankOrComment(line)) {
        Check(lex::CodeOf(line).find_first_not_of(" \t") == std::string_view::npos, "blank or comment holds no code", line);
        Check(!syntax::MatchDeclaration(line) && syntax::MatchEnd(line) == syntax::EndKind::None,
              "a comment declares and ends nothing", line);
    }
    syntax::TrailingEnd(line);
    syntax::MatchBlockEnd(line, syntax::MatchBlockStart(line));
    syntax::IsAttributeLine(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Each physical line on its own, as the module hands them over.
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string line(bytes.substr(start, end - start));  // its own buffer, for ASan to bound
        CheckTokens(line);
        CheckViews(line);
        CheckSyntax(line);
        start = end + 1;
    }
    return 0;
}
