#include "ide/project_saver.h"

#include "errors/runtime_error.h"
#include "ide/source_module.h"
#include "util/file_io.h"

namespace vex::ide {

std::vector<PendingChange> ChangedComponents(Project& project) {
    std::vector<PendingChange> changes;
    for (auto& c : project.VBComponents()) {
        if (!c.Loaded()) continue;
        std::string after = c.Source().Serialize();
        if (after == c.Source().Original()) continue;
        changes.push_back({&c, c.Files().front(), c.Source().Original(), std::move(after)});
    }
    return changes;
}

void SaveChanges(std::vector<PendingChange>& changes) {
    // Check every file before writing any, so that a refusal leaves the whole project as it was.
    for (const auto& change : changes) {
        if (!util::FileHolds(change.file, change.before))
            throw errors::RuntimeError(errors::code::kPathFileAccess,
                                       util::Display(change.file) +
                                           ": changed on disk since it was loaded; not overwritten");
        if (util::IsReadOnly(change.file))
            throw errors::RuntimeError(errors::code::kPermissionDenied,
                                       util::Display(change.file) + ": file is read-only; not saved");
    }
    std::vector<util::FileWrite> writes;
    writes.reserve(changes.size());
    for (const auto& change : changes) writes.push_back({change.file, change.after});
    size_t renamed = 0;
    try {
        util::WriteFilesAtomic(writes, &renamed);
    } catch (...) {
        for (size_t k = 0; k < renamed; ++k) changes[k].component->Source().MarkSaved(std::move(changes[k].after));
        throw;
    }
    for (auto& change : changes) change.component->Source().MarkSaved(std::move(change.after));
}

}  // namespace vex::ide
