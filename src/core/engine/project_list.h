#pragma once
// Filling lstFileProject from the active project, the two bulk selection commands, and the gate the
// dispatch asks before the numbering and error-handler commands.

#include "engine/file_list.h"
#include "engine/host.h"

namespace vex::engine {

/// Empties `lst` and adds one row per component of `host.activeProject` whose name is not empty, in
/// project order, all selected. Without an active project (or on any failure) the list stays empty and
/// nothing is reported.
void LoadProjectFile(Host& host, FileList& lst);

/// Selects every row. A failure shows "Erreur N° ..." through `host.prompter`, titled "SelectAllList".
void SelectAllList(Host& host, FileList& lst);

/// Deselects every row. A failure shows "Erreur N° ..." through `host.prompter`, titled "UnSelectAllList".
void UnSelectAllList(Host& host, FileList& lst);

/// Whether the code may be processed now: always true.
bool FileIsClean();

}  // namespace vex::engine
