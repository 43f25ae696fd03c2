#pragma once
// Writes the changed components of a project back to disk, atomically and byte-exactly.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ide/project.h"

namespace vex::ide {

/// A component whose code differs from what was loaded.
struct PendingChange {
    Component* component = nullptr;
    std::filesystem::path file;
    std::string_view before;  ///< the bytes loaded (the module's own, valid until it is saved)
    std::string after;        ///< the bytes to write
};

/// The loaded components whose text changed, in project order.
std::vector<PendingChange> ChangedComponents(Project& project);

/// A change that was not saved, and why (the message names the file).
struct SaveFailure {
    std::filesystem::path file;
    std::string message;
};

/// Saves every change that can be saved and returns those that could not, in order. A file that
/// changed on disk since it was loaded, is read-only or cannot be read is refused before anything is
/// written; the others are written atomically (temporary file in the same folder, then rename), keeping
/// the file's permissions and, where allowed, its owner and group; a symbolic link stays a link and its
/// target is rewritten. All temporary files are written and flushed before the first rename: a write or
/// flush failure (a full disk) saves none of them, a failed rename saves those before it. Each saved
/// change's `after` is moved into its module. Never throws for a file it could not save.
std::vector<SaveFailure> SaveChanges(std::vector<PendingChange>& changes);

/// Why `file`, loaded as `before`, must not be replaced now (it changed on disk since, is read-only or
/// cannot be read), or empty. Every saver checks this before it writes.
std::string SaveRefusal(const std::filesystem::path& file, std::string_view before);

/// The failure of `file`, left unsaved by `error`: a failed write or flush of the save it was in.
SaveFailure NotSavedFailure(const std::filesystem::path& file, const std::string& error);

}  // namespace vex::ide
