#include "ide/logical_line.h"

#include "ide/vb_lexer.h"

namespace vex::ide {

bool IsContinuationLine(const CodeModule& code, long j) { return j > 1 && lex::Continues(code.Lines(j - 1, 1)); }

long StatementLast(const CodeModule& code, long first, long limit) {
    const long end = limit > 0 ? limit : code.CountOfLines();
    long j = first;
    while (j < end && lex::Continues(code.Lines(j, 1))) ++j;
    return j;
}

std::string JoinStatement(const CodeModule& code, long first, long last) {
    std::string statement;
    for (long j = first; j <= last; ++j) {
        const std::string line = code.Lines(j, 1);
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
