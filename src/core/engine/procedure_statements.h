#pragma once
// Reading a procedure's own statements: its kind word, the end of its declaration, its End line.

#include <string>
#include <string_view>

#include "ide/code_module.h"

namespace vex::engine {

/// The kind word of the declaration that starts on `bodyLine` (its continued lines joined): "Sub",
/// "Function" or "Property", taken from the keyword that follows any of Public, Private, Friend and
/// Static (`Public Static Function F()` gives "Function"). Empty when it declares none of them.
std::string KindWord(const ide::CodeModule& code, long bodyLine);

/// The last physical line of the declaration that starts on `bodyLine`, never beyond `lastLine`: its
/// continued lines, and the #End If that closes two alternative signatures (ide/declaration_end.h).
long DeclarationLastLine(const ide::CodeModule& code, long bodyLine, long lastLine);

/// True when `line` is the End statement of a procedure of kind `kindWord`: after blanks and an optional
/// line number or label, the words End and `kindWord` (any case), e.g. "10 End Sub", "Fin: End Function".
/// A comment or string that mentions "end sub" is not one.
bool IsProcedureEnd(std::string_view line, std::string_view kindWord);

/// The procedure's End line: the first line after `declarationLast`, up to `lastLine`, for which
/// IsProcedureEnd holds and that starts a statement (after a comment that ends in ` _`, an End Sub is
/// comment text). 0 when there is none (an empty kind word never has one).
long FindProcedureEnd(const ide::CodeModule& code, std::string_view kindWord, long declarationLast, long lastLine);

}  // namespace vex::engine
