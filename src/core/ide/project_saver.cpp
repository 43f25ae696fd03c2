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

namespace {

/// Why `file`, loaded as `before`, must not be written now, or empty.
std::string Refusal(const std::filesystem::path& file, std::string_view before) {
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

/// The failure of a file left unsaved by `error`, a failed write of the batch it was in.
SaveFailure NotSaved(const std::filesystem::path& file, const std::string& error) {
    const std::string name = util::Display(file);
    return {file, error.starts_with(name) ? error : name + ": not saved (" + error + ")"};
}

}  // namespace

std::vector<SaveFailure> SaveChanges(std::vector<PendingChange>& changes) {
    std::vector<SaveFailure> failures;
    std::vector<PendingChange*> writable;
    std::vector<std::string> refusals(changes.size());  // each file is read back, on every core
    util::ForEachIndex(changes.size(), util::Cores(),
                       [&](size_t k) { refusals[k] = Refusal(changes[k].file, changes[k].before); });
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
        else failures.push_back(NotSaved(writable[k]->file, error));
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

ProjectSave SaveChangedComponents(Project& project) {
    auto& components = project.VBComponents();
    ProjectSave result;
    // A few components at a time, each serialized into a text kept for a later batch: while one
    // thread writes a batch to its temporary files, the others prepare the next.
    const size_t batch = 2 * util::Cores();
    struct Slot {
        std::string text;
        bool changed = false;
        long lines = 0;
        std::string refusal;
    };
    std::vector<Slot> slots(2 * batch);  // two halves: the batch being prepared, the one being written
    std::vector<std::optional<SaveFailure>> failed(components.size());  // by component, to report in order
    std::vector<size_t> staged;  // the components written to temporary files, in order
    util::StagedFiles files;
    std::string error;  // the write that failed: nothing is saved then
    auto slotOf = [&](size_t component) -> Slot& { return slots[component % (2 * batch)]; };
    auto prepare = [&](size_t c) {
        Slot& slot = slotOf(c);
        slot.changed = false;
        const Component& component = components[c];
        if (!component.Loaded()) return;
        component.Source().SerializeInto(slot.text);
        const std::string& before = component.Source().Original();
        slot.changed = slot.text != before;
        if (!slot.changed) return;
        slot.lines = text::ChangedLineCount(before, slot.text);
        slot.refusal = Refusal(component.Files().front(), before);
    };
    auto write = [&](size_t from, size_t to) {
        for (size_t c = from; c < to; ++c) {
            Slot& slot = slotOf(c);
            if (!slot.changed) continue;
            const auto& file = components[c].Files().front();
            result.linesChanged += slot.lines;
            if (!slot.refusal.empty()) {
                failed[c] = SaveFailure{file, std::move(slot.refusal)};
                continue;
            }
            staged.push_back(c);
            if (!error.empty()) continue;
            try {
                files.Write(file, slot.text);
            } catch (const errors::RuntimeError& e) {
                error = e.Description();
            }
        }
    };
    // Round r prepares batch r and writes batch r - 1; item 0, handed out first, is the writing.
    const size_t total = components.size();
    for (size_t first = 0; first < total + batch; first += batch) {
        const size_t count = first < total ? std::min(batch, total - first) : 0;
        util::ForEachIndex(count + 1, util::Cores(), [&](size_t k) {
            if (k == 0) {
                if (first > 0) write(first - batch, std::min(first, total));
            } else {
                prepare(first + k - 1);
            }
        });
    }
    size_t renamed = 0;
    if (error.empty()) {
        try {
            files.Commit(&renamed);
        } catch (const errors::RuntimeError& e) {
            error = e.Description();
        }
    }
    for (size_t k = 0; k < staged.size(); ++k) {
        const auto& file = components[staged[k]].Files().front();
        if (error.empty() || k < renamed) result.saved.push_back(file);
        else failed[staged[k]] = NotSaved(file, error);
    }
    for (auto& f : failed)
        if (f) result.failures.push_back(std::move(*f));
    return result;
}

}  // namespace vex::ide
