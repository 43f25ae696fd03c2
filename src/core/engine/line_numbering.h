#pragma once
// Line numbering: a number in front of the statements of every procedure of the selected components,
// or the numbers taken away. Lines are only replaced, never inserted or deleted.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/edit_mode.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/jump_targets.h"

namespace vex::errors {
class ErrorReport;
}

namespace vex::engine {

/// What WriteLineNumber needs besides the line: the error report, the error-block state of the pass,
/// and the numbers it must not give (those that lines kept for a jump carry).
struct LineNumberContext {
    errors::ErrorReport& report;
    /// blnErrorBlock: the current line lies between two marker lines of inserted error-handler code.
    bool blnErrorBlock = false;
    const NumberSet* reserved = nullptr;
    /// Set when the user answered Abort to a WriteLineNumber error: the pass ends.
    bool aborted = false;
};

/// The "AddLine" (Add) and "RemoveLine" (Remove) commands: runs the pass under the error
/// report ("modEtude // StudyLineNumber": Retry runs the whole pass again, Ignore goes on, Abort leaves
/// at once), then puts both progress bars back to 0 and the default pointer.
void StudyLineNumber(Host& host, FileList& lst, EditMode mode);

/// Numbers the procedures of the selected components. Traps nothing: errors reach the caller.
void AddLineNumber(Host& host, FileList& lst);

/// Takes the line numbers away in the selected components. Traps nothing: errors reach the caller.
void RemoveLineNumber(Host& host, FileList& lst);

/// Puts into `numbered` the line with the next number in front (`running` advanced by `step`, skipping
/// reserved numbers), or the empty text when the line keeps its text; `numbered` keeps its buffer from
/// one line to the next. An overflow of the running number is reported as "modEtude // WriteLineNumber";
/// the line then keeps its text.
void WriteLineNumber(LineNumberContext& ctx, std::string_view line, int32_t& running, int32_t step, std::string& numbered);

/// The line without its leading number and the blank after it (a single blank when only a number
/// followed), or the empty text when the line does not begin with a digit.
std::string RemoveNumber(std::string_view line);

}  // namespace vex::engine
