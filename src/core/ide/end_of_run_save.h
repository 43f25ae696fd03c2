#pragma once
// The save a run ends with, begun while the run is still at work: each component is written out as soon
// as the run is done with it.

#include <filesystem>
#include <memory>
#include <vector>

#include "ide/project.h"
#include "ide/project_saver.h"

namespace vex::ide {

/// How an EndOfRunSave went.
struct ProjectSave {
    long linesChanged = 0;                     ///< text::ChangedLineCount over the changed components
    std::vector<std::filesystem::path> saved;  ///< in project order
    std::vector<SaveFailure> failures;         ///< in project order
};

/// Saves the components of a project whose text changed, for a run that ends with its save, and holds no
/// new text beyond those it is about to write.
///
/// Stage() serializes a component into a text used again (waiting while those not yet written hold
/// 4 MB); a thread of the save's own then compares it with the bytes loaded, counts its changed
/// lines, checks that its file may be replaced and writes its temporary file, while the caller goes on
/// with the next component. Finish() stages every component not staged yet, then flushes and renames the temporary
/// files in project order, with SaveChanges' refusals and failures. A component edited after it was
/// staged, or staged out of project order, makes Finish() start again from the first component, so the
/// outcome never depends on when Stage() was called.
///
/// Destroyed before Finish(), it removes its temporary files and saves nothing. The modules are not told
/// they were saved (their Original() stays the bytes loaded): the project must not be saved again.
class EndOfRunSave {
public:
    explicit EndOfRunSave(Project& project);
    ~EndOfRunSave();
    EndOfRunSave(const EndOfRunSave&) = delete;
    EndOfRunSave& operator=(const EndOfRunSave&) = delete;

    /// `component` (one of the project's) is done with. Called from one thread at a time, which must not
    /// edit the component while its text is being serialized.
    void Stage(const Component& component);
    /// Saves what can be saved; never throws for a file it could not save. Call it once.
    ProjectSave Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vex::ide
