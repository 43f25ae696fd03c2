#pragma once
// Deleting every statement that holds a keyword (by default "Debug.Print") from the selected components.

#include <string>

#include "engine/file_list.h"
#include "engine/host.h"

namespace vex::engine {

/// The declaration text whose lines are never deleted.
inline constexpr std::string_view kFollowProgram = "Sub FollowProgram";

/// Deletes, in every selected component, each statement that holds `keyword` (Windows-1252 bytes,
/// compared exactly, case-sensitive, comments and strings included) in a non-empty line, unless one of
/// its lines holds "Sub FollowProgram". A statement is a line with the lines it continues into (" _"),
/// so a continued statement goes as a whole or stays as a whole. Errors are reported as
/// "StudyRemoveCode" with the keyword as comment; Abort ends the run leaving the bars as they are.
void StudyRemoveCode(Host& host, FileList& lst, const std::string& keyword);

}  // namespace vex::engine
