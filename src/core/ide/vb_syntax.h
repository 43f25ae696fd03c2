#pragma once
// The statements the project model and the passes look for: procedure declarations, End statements,
// and the Type/Enum blocks that hold no code. Each test reads one logical line (its continued lines
// joined, see logical_line.h), built on the lexical rules of vb_lexer.h.

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

/// The End statement that closes a one-line procedure: a statement after a colon, on the declaration's
/// own line (`Function F() As Long: F = 1: End Function`). None when there is none.
EndKind TrailingEnd(std::string_view line);

/// The End keyword that closes a procedure declared with `keyword` ("Sub", "Function", "Property").
EndKind EndFor(std::string_view keyword);

/// The word after End that closes a procedure declared with `keyword`, as written in messages.
std::string_view EndWord(EndKind kind);

/// A `Type` or `Enum` block opens on the line (`Private Type T`, `Public Enum E`): None, Type or Enum.
enum class BlockKind { None, Type, Enum };
BlockKind MatchBlockStart(std::string_view line);
/// True when the line is `End Type` (for Type) or `End Enum` (for Enum).
bool MatchBlockEnd(std::string_view line, BlockKind kind);

/// True when the line is blank or holds only a comment (' or Rem).
bool IsBlankOrComment(std::string_view line);

/// True for a member attribute line (`Attribute ...` from the first column), which the IDE hides.
bool IsAttributeLine(std::string_view line);

}  // namespace vex::ide::syntax
