#pragma once
// One run of an engine action over a project, shared by every front end: load, select the components,
// run one engine call, find what changed, save. No terminal I/O here: the front end supplies where the
// engine's questions, notices and progress go, and prints the outcomes it gets back.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/file_list.h"
#include "engine/host.h"
#include "host/result_log.h"
#include "ide/end_of_run_save.h"
#include "ide/project.h"
#include "ide/project_loader.h"
#include "ide/project_saver.h"
#include "session/inputs.h"

namespace vex::session {

/// What the front end lends a session for its lifetime.
struct Services {
    host::ProgressBar& percentProject;
    host::ProgressBar& percentFile;
    host::Screen& screen;
    settings::SettingsStore& store;
    errors::ErrorReport& report;
    host::Prompter& prompter;
    host::Notices& notices;
    const host::Clock& clock;
};

/// Loads a .vbp, .vbg or module file. Throws errors::RuntimeError when it cannot be read or holds no
/// project; the loader's warnings stay in the workspace for the caller to show.
ide::Workspace LoadWorkspace(const std::string& path, ide::LoadMode mode = ide::LoadMode::Code);

/// A component name that matched no row, with up to three nearest names (UTF-8), closest first.
struct UnknownComponent {
    std::string name;
    std::vector<std::string> nearest;
};

/// Up to three of `names` closest to `wanted` (letter case ignored, a name holding the other counts as
/// close), closest first: the suggestions of a "did you mean".
std::vector<std::string> NearestWords(const std::string& wanted, const std::vector<std::string>& names);

/// Selects exactly the rows named by `wanted` (UTF-8 names); every row stays selected when it is empty.
std::optional<UnknownComponent> SelectComponents(engine::Host& host, engine::FileList& lst,
                                                 const std::vector<std::string>& wanted);

using Action = std::function<void(engine::Host&, engine::FileList&)>;

class Session {
public:
    /// Takes the loaded workspace and fills the component list as LoadProjectFile does (every row
    /// selected).
    Session(ide::Workspace workspace, const Services& services);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ide::Workspace& Workspace() { return workspace_; }
    ide::Project& Project() { return *workspace_.ActiveVBProject(); }
    engine::Host& Host() { return host_; }
    engine::PlainFileList& List() { return list_; }
    host::StringResultLog& Result() { return result_; }

    std::optional<UnknownComponent> Select(const std::vector<std::string>& wanted) {
        return SelectComponents(host_, list_, wanted);
    }
    /// Unselects the rows whose source file `worked` already holds (another project of the run worked on
    /// it), then adds the files of the rows still selected. Returns how many rows were unselected.
    size_t SkipWorked(WorkedFiles& worked);
    void Run(const Action& action) { action(host_, list_); }
    /// True when an error was answered Abort: nothing must be saved.
    bool Aborted() const;
    /// The components whose bytes differ from what was loaded, in project order.
    std::vector<ide::PendingChange> Changes() { return ide::ChangedComponents(Project()); }
    /// The source files the load left out (see ide::Workspace::Failures): never edited nor saved.
    const std::vector<ide::LoadFailure>& LoadFailures() const { return workspace_.Failures(); }
    /// True when an error was answered Ignore, so that some of the work was skipped.
    bool SkippedWork() const;
    /// From here on, each component the engine is done with starts saving while the run goes on (see
    /// ide::EndOfRunSave), for a run that ends with SaveChangesAndEnd. A session dropped before that
    /// saves nothing.
    void SaveAsItGoes();
    /// Saves what can be saved of the changes, as the session's last act, holding no new text beyond
    /// what it is writing; never throws for a failed write, and nothing may be saved after it.
    ide::ProjectSave SaveChangesAndEnd();

private:
    ide::Workspace workspace_;
    host::StringResultLog result_;
    engine::Host host_;
    engine::PlainFileList list_;
    std::unique_ptr<ide::EndOfRunSave> saving_;  // last: it reads the modules until it is gone
};

}  // namespace vex::session
