#pragma once
// What a verb that works on a project sets up before it calls the engine: the loaded project, the
// engine host over the command line's store, prompter, error report, notices and progress line, and the
// component list as LoadProjectFile fills it with --component applied.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/app.h"
#include "cli/environment.h"
#include "cli/progress_line.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "ide/project.h"
#include "ide/project_loader.h"

namespace vex::cli {

/// Loads `path`, printing the loader's warnings; on failure prints the error, sets ctx.exitCode to 3 and
/// returns nothing.
std::optional<ide::Workspace> LoadOrComplain(VerbContext& ctx, const std::string& path,
                                              ide::LoadMode mode = ide::LoadMode::Code);

/// Selects exactly the rows named by `wanted` (UTF-8 component names); all rows stay selected when it is
/// empty. Returns false after a message on ctx.err naming the nearest names when a name has no row.
bool SelectComponents(VerbContext& ctx, engine::Host& host, engine::FileList& lst,
                      const std::vector<std::string>& wanted);

class VerbSession {
public:
    /// Loads the project and builds the host and the list. Returns null after a message, with
    /// ctx.exitCode set (3 unreadable input, 2 unknown component).
    static std::unique_ptr<VerbSession> Open(VerbContext& ctx, const std::string& project,
                                             const std::vector<std::string>& components,
                                             ide::LoadMode mode = ide::LoadMode::Code);

    ide::Project& Project() { return *workspace_.ActiveVBProject(); }
    engine::Host& Host() { return host_; }
    engine::PlainFileList& List() { return list_; }
    host::StringResultLog& Result() { return result_; }
    settings::SettingsStore& Store() { return *store_; }
    errors::ErrorReport& Report() { return *report_; }
    ProgressLine& Progress() { return progress_; }

private:
    VerbSession(VerbContext& ctx, ide::Workspace workspace, std::unique_ptr<settings::SettingsStore> store);

    ide::Workspace workspace_;
    std::unique_ptr<settings::SettingsStore> store_;
    host::SystemClock clock_;
    host::NullScreen screen_;
    host::StringResultLog result_;
    StreamNotices notices_;
    std::unique_ptr<host::Prompter> prompter_;
    std::unique_ptr<errors::ErrorReport> report_;
    ProgressLine progress_;
    engine::Host host_;
    engine::PlainFileList list_;
};

}  // namespace vex::cli
