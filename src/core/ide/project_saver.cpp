#include "ide/project_saver.h"

#include <algorithm>
#include <optional>

#include "errors/runtime_error.h"
#include "ide/source_module.h"
#include "text/unified_diff.h"
#include "util/file_io.h"
#include "util/parallel.h"

namespace vex::ide {

std::vector<PendingChange> ChangedComponents(Project& project) {
    auto& components = project.VBComponents();
    // Serialized on every core; the changes keep the project's order.
    std::vector<std::optional<std::string>> after(components.size());
    util::ForEachIndex(components.size(), util::Cores(), [&](size_t k) {
        if (!components[k].Loaded()) return;
        std::string text = components[k].Source().Serialize();
        if (text != components[k].Source().Original()) after[k] = std::move(text);
    });
    std::vector<PendingChange> changes;
    for (size_t k = 0; k < components.size(); ++k)
        if (after[k])
            changes.push_back({&components[k], components[k].Files().front(), components[k].Source().Original(),
                               std::move(*after[k])});
    return changes;
}

std::string SaveRefusal(const std::filesystem::path& file, std::string_view before) {
    try {
        if (!util::FileHolds(file, before))
            return util::Display(file) + ": changed on disk since it was loaded; not overwritten";
    } catch (const errors::RuntimeError& e) {
        return e.Description() + "; not saved";
    }
    if (util::IsReadOnly(file))
        return util::Display(file) + ": file is read-only; not saved";
    return {};
}

SaveFailure NotSavedFailure(const std::filesystem::path& file, const std::string& error) {
    const std::string name = util::Display(file);
    return {file, error.starts_with(name) ? error : name + ": not saved (" + error + ")"};
}

std::vector<SaveFailure> SaveChanges(std::vector<PendingChange>& changes) {
    std::vector<SaveFailure> failures;
    std::vector<PendingChange*> writable;
    std::vector<std::string> refusals(changes.size());  // each file is read back, on every core
    util::ForEachIndex(changes.size(), util::Cores(),
                       [&](size_t k) { refusals[k] = SaveRefusal(changes[k].file, changes[k].before); });
    for (size_t k = 0; k < changes.size(); ++k) {
        if (!refusals[k].empty()) failures.push_back({changes[k].file, std::move(refusals[k])});
        else writable.push_back(&changes[k]);
    }
    std::vector<util::FileWrite> writes;
    writes.reserve(writable.size());
    for (const auto* change : writable) writes.push_back({change->file, change->after});
    size_t renamed = 0;
    std::string error;
    try {
        util::WriteFilesAtomic(writes, &renamed);
    } catch (const errors::RuntimeError& e) {
        error = e.Description();
    }
    for (size_t k = 0; k < writable.size(); ++k) {
        if (k < renamed || error.empty()) writable[k]->component->Source().MarkSaved(std::move(writable[k]->after));
        else failures.push_back(NotSavedFailure(writable[k]->file, error));
    }
    // Report in the order of the changes, as the user listed the files.
    std::stable_sort(failures.begin(), failures.end(), [&](const SaveFailure& x, const SaveFailure& y) {
        auto at = [&](const SaveFailure& f) {
            return std::find_if(changes.begin(), changes.end(), [&](auto& c) { return c.file == f.file; }) -
                   changes.begin();
        };
        return at(x) < at(y);
    });
    return failures;
}

}  // namespace vex::ide
