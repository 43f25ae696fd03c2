#pragma once
// The paths one call names, as the list of project files to open, and the files a run has already
// worked on, so that a module several projects share is processed once.

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ide/project.h"
#include "util/canonical_paths.h"

namespace vex::session {

/// The project files `paths` (UTF-8) stand for, in order: a directory stands for every .vbp below it (sorted by
/// path, so every run sees the same order); a .vbp, .vbg or module file stands for itself; a path met
/// twice is kept once. A path that does not exist is kept, so that opening it names it.
std::vector<std::filesystem::path> ExpandInputs(const std::vector<std::string>& paths);

/// Makes the group's project named `name` (letter case ignored) the one worked on. Returns false when
/// the group holds no project of that name.
bool ChooseProject(ide::Workspace& workspace, std::string_view name);

/// The source files of a run that one project has already worked on (compared as canonical paths).
class WorkedFiles {
public:
    /// Counts `file` as worked on; false when it was already.
    bool Claim(const std::filesystem::path& file);

private:
    std::set<std::filesystem::path> files_;
    util::CanonicalPaths resolved_;  // each folder resolved once for the whole run
};

}  // namespace vex::session
