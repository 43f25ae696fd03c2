#pragma once
// The keyword table of the indentation pass: which kind of block line a code text is.

#include <string_view>

namespace vex::engine {

/// The rows of the keyword table, in the order they are tried.
enum class IndentRow {
    If,            ///< "If": opens a level when it is a block If
    SelectCase,    ///< "Select Case": opens two levels
    Case,          ///< "Case": one level back, then one in
    Opener,        ///< "For", "Do", "While", "With": opens a level
    Else,          ///< "Else", "ElseIf": one level back, then one in
    Closer,        ///< "End If", "End With", "Next", "Loop", "Wend": one level back
    EndSelect,     ///< "End Select": two levels back
    EndProcedure,  ///< "End Sub", "End Function", "End Property": column 0
    Other,         ///< anything else
};

/// The row of `code` (a line without its leading blanks and number). Keywords are whole words compared
/// without regard to case: "NextItem = 1" and "Case1 = 2" are Other, "ElseIf" is Else, a bare "Do" opens.
IndentRow ClassifyIndent(std::string_view code);

/// True when an If line is a block If: after its Then (a whole word outside strings) there is nothing
/// but blanks, or a comment. A line without Then is a single-line If.
bool IsBlockIf(std::string_view code);

}  // namespace vex::engine
