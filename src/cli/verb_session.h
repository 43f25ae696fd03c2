#pragma once
// The command line's side of a core session: the per-user store, the prompter, error report, notices
// and progress line it lends the session, and the messages it prints for the session's outcomes.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/app.h"
#include "cli/environment.h"
#include "cli/progress_line.h"
#include "ide/project_loader.h"
#include "session/session.h"

namespace vex::cli {

/// Loads `path`, printing the loader's warnings; on failure prints the error, sets ctx.exitCode to 3 and
/// returns nothing.
std::optional<ide::Workspace> LoadOrComplain(VerbContext& ctx, const std::string& path,
                                              ide::LoadMode mode = ide::LoadMode::Code);

/// Prints the message for a --component name without a row, naming the nearest names.
void ComplainUnknown(VerbContext& ctx, const session::UnknownComponent& unknown);

/// True when the run's progress line is drawn: stderr is the process's own and a terminal, and the run
/// is not --quiet.
bool ShowsProgress(const VerbContext& ctx);

class VerbSession {
public:
    /// Loads the project and selects the components; `progress` is the run's line, shared by every
    /// project of the call. In a group, `projectName` (when not empty) picks
    /// the project worked on instead of the startup one, and the project worked on is named on stderr.
    /// Returns null after a message, with ctx.exitCode set (3 unreadable input, 2 unknown component or
    /// project).
    static std::unique_ptr<VerbSession> Open(VerbContext& ctx, ProgressLine& progress, const std::string& project,
                                             const std::vector<std::string>& components,
                                             ide::LoadMode mode = ide::LoadMode::Code,
                                             const std::string& projectName = {});

    session::Session& Core() { return *core_; }
    ide::Project& Project() { return core_->Project(); }
    engine::Host& Host() { return core_->Host(); }
    engine::PlainFileList& List() { return core_->List(); }
    host::StringResultLog& Result() { return core_->Result(); }
    settings::SettingsStore& Store() { return *store_; }
    errors::ErrorReport& Report() { return *report_; }

private:
    VerbSession(VerbContext& ctx, ProgressLine& progress, ide::Workspace workspace,
                std::unique_ptr<settings::SettingsStore> store);

    std::unique_ptr<settings::SettingsStore> store_;
    host::SystemClock clock_;
    host::NullScreen screen_;
    StreamNotices notices_;
    std::unique_ptr<host::Prompter> prompter_;
    std::unique_ptr<errors::ErrorReport> report_;
    ProgressLine& progress_;
    std::unique_ptr<session::Session> core_;
};

}  // namespace vex::cli
