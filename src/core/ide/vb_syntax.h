#pragma once
// The few facts of VB6 syntax the project model needs to find procedures and hidden lines. Each test looks
// at one physical line; none of them knows the line's context (whether it continues another).

#include <optional>
#include <string>
#include <string_view>

#include "ide/code_module.h"

namespace vex::ide::syntax {

/// A procedure declaration: `[Public|Private|Friend|Global] [Static] Sub|Function|Property Get|Let|Set name`.
struct Declaration {
    std::string name;  ///< without a type suffix ($ % & ! # @)
    ProcKind kind = ProcKind::Proc;
    std::string keyword;  ///< "Sub", "Function" or "Property", as the module spells it
};

/// The declaration the line starts, if any. `Declare Function` and `Event` lines are not procedures.
std::optional<Declaration> MatchDeclaration(std::string_view line);

/// The keyword of a procedure's end statement.
enum class EndKind { None, Sub, Function, Property };

/// The `End Sub|Function|Property` statement the line starts with, after blanks and an optional line
/// number or label. Text in a comment or a string ends nothing.
EndKind MatchEnd(std::string_view line);

/// True when the line ends with the continuation mark (a blank and "_" at the end, trailing blanks
/// ignored). A comment that ends so continues too.
bool Continues(std::string_view line);

/// True when the line is blank or holds only a comment (' or Rem).
bool IsBlankOrComment(std::string_view line);

/// True for a member attribute line (`Attribute ...` from the first column), which the IDE hides.
bool IsAttributeLine(std::string_view line);

/// The line number or label a line starts with (`10`, `Retry:`), with the blanks after it; empty if none.
std::string_view LeadingLabel(std::string_view line);

/// True for a character that may appear in a VB identifier (letters of the code page included).
bool IsIdentChar(char c);

}  // namespace vex::ide::syntax
