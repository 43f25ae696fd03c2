#pragma once
// Writes the changed components of a project back to disk, atomically and byte-exactly.

#include <filesystem>
#include <string>
#include <vector>

#include "ide/project.h"

namespace vex::ide {

/// A component whose code differs from what was loaded.
struct PendingChange {
    Component* component = nullptr;
    std::filesystem::path file;
    std::string before;  ///< the bytes loaded
    std::string after;   ///< the bytes to write
};

/// The loaded components whose text changed, in project order.
std::vector<PendingChange> ChangedComponents(Project& project);

/// Saves every change: checks first that no file changed on disk since it was loaded and that none is
/// read-only (errors::RuntimeError naming the file; nothing written), then writes each file atomically
/// (temporary file in the same folder, then rename), keeping its permissions. All temporary files are
/// written and flushed before the first rename. Each saved change's `after` is moved into its module.
void SaveChanges(std::vector<PendingChange>& changes);

}  // namespace vex::ide
