#include "ide/logical_line.h"

#include "ide/vb_lexer.h"

namespace vex::ide {

bool IsContinuationLine(const CodeModule& code, long j) {
    std::string scratch;
    return j > 1 && lex::Continues(code.LineText(j - 1, scratch));
}

long StatementLast(const CodeModule& code, long first, long limit) {
    const long end = limit > 0 ? limit : code.CountOfLines();
    long j = first;
    std::string scratch;
    while (j < end && lex::Continues(code.LineText(j, scratch))) ++j;
    return j;
}

std::string JoinStatement(const CodeModule& code, long first, long last) {
    std::string scratch;
    if (first == last) return std::string(code.LineText(first, scratch));
    std::string statement;
    for (long j = first; j <= last; ++j) {
        const std::string_view line = code.LineText(j, scratch);
        if (j == last) {
            statement += line;
        } else {
            statement += lex::WithoutContinuation(line);
            statement += ' ';
        }
    }
    return statement;
}

}  // namespace vex::ide
