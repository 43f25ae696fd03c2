#pragma once
// Logical lines: a statement continued over several physical lines of a code module (see
// lex::Continues) is read as one.

#include <string>

#include "ide/code_module.h"

namespace vex::ide {

/// True when line `j` continues the statement of the line above it.
bool IsContinuationLine(const CodeModule& code, long j);

/// The last physical line of the statement that starts on `first`: the first line from `first` on that
/// does not continue, but never beyond `limit` (0: the module's last line).
long StatementLast(const CodeModule& code, long first, long limit = 0);

/// Lines `first`..`last` as one logical line: each continuation mark with the blanks before it becomes
/// one blank, and the next line's text follows.
std::string JoinStatement(const CodeModule& code, long first, long last);

}  // namespace vex::ide
