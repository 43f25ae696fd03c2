#pragma once
// Rules about single lines of VB6 code that several passes share. Lines are Windows-1252 bytes without
// their line break.

#include <string>
#include <string_view>

namespace vex::ide {
class CodeModule;
}

namespace vex::engine {

/// True when the last character other than a trailing blank is "_", with or without a blank before it.
/// The numbering pass treats such a line as continued, which errs on the side of numbering less.
bool EndsWithUnderscore(std::string_view line);

/// True when the line begins (after its leading blanks) with a line label: a name followed by a colon
/// (not ":=", which names an argument).
bool StartsWithLabel(std::string_view line);

/// True for a compiler directive (#If, #ElseIf, #Else, #End If, #Const).
bool IsDirective(std::string_view line);

/// The line number a line begins with, leading zeros dropped ("0" for zeros only); empty when the
/// first character is not a digit.
std::string LeadingNumber(std::string_view line);

/// `code.CountOfLines()` as the engine's 16-bit line positions allow: errors::Overflow beyond 32767.
long CountOfLines16(const ide::CodeModule& code);

}  // namespace vex::engine
