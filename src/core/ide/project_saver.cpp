#include "ide/project_saver.h"

#include <sys/stat.h>
#include <unistd.h>

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
        const std::string onDisk = util::ReadFile(change.file);
        if (onDisk != change.before)
            throw errors::RuntimeError(errors::code::kPathFileAccess,
                                       util::Display(change.file) +
                                           ": changed on disk since it was loaded; not overwritten");
        struct stat st {};
        const bool readOnly = ::stat(change.file.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
        if (readOnly || ::access(change.file.c_str(), W_OK) != 0)
            throw errors::RuntimeError(errors::code::kPermissionDenied,
                                       util::Display(change.file) + ": file is read-only; not saved");
    }
    for (auto& change : changes) {
        util::WriteFileAtomic(change.file, change.after);
        change.component->Source().MarkSaved();
    }
}

}  // namespace vex::ide
