#pragma once
// StudyManageError: the entry point of the "AddError" and "RemoveError" toolbar commands.

#include "engine/edit_mode.h"

namespace vex::engine {

struct Host;
class FileList;
class ResultWindow;

/// Add runs AddCodeError, Remove RemoveCodeError; around it the pointer is the hourglass and
/// afterwards both progress bars are back at 0 and the pointer is the default, also after an Abort.
/// Errors are reported as "modEtude // StudyManageError".
void StudyManageError(Host& host, FileList& lst, EditMode mode, ResultWindow& window);

}  // namespace vex::engine
