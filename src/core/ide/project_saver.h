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
    std::string after;   ///< the bytes to write
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

/// How SaveChangedComponents went.
struct ProjectSave {
    long linesChanged = 0;                       ///< text::ChangedLineCount over the changed components
    std::vector<std::filesystem::path> saved;    ///< in project order
    std::vector<SaveFailure> failures;           ///< in project order
};

/// ChangedComponents then SaveChanges, for a run that ends with the save, holding no new text beyond
/// its write: a few components at a time are serialized into texts used again for the next ones,
/// compared, counted, checked and written to their temporary files; then all are flushed and renamed as
/// SaveChanges does, with the same refusals and failures. The modules are not told they were saved
/// (their Original() stays the bytes loaded): the project must not be saved again.
ProjectSave SaveChangedComponents(Project& project);

}  // namespace vex::ide
