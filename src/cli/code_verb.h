#pragma once
// The shared runner of the verbs that rewrite code (number, unnumber,
// delete-lines, add-handlers, ...): load the project, select the components,
// run one engine call, then show, check or save what changed.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/app.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/result_window.h"

namespace CLI {
class App;
}

namespace vex::cli {

struct CodeVerbOptions {
    std::vector<std::string> projects;  ///< .vbp, .vbg, module files and directories (every .vbp below)
    std::string projectName;            ///< --project: a group's project to work on instead of its startup one
    std::vector<std::string> components;
    bool dryRun = false;
    bool check = false;
    std::optional<std::string> logFile;
    std::string color = "auto";  ///< --color auto|always|never, for the --dry-run diff
};

/// Adds PATH..., --project NAME, --component (repeatable), --dry-run, --check, --log FILE, --color to a verb.
void AddCodeVerbOptions(CLI::App& verb, CodeVerbOptions& options);

/// For each project the paths stand for (see session::ExpandInputs), in turn: loads it, fills a list as
/// LoadProjectFile does and selects the --component rows (all rows when none is given; with one project
/// an unknown name is a usage error, exit 2, with the nearest names suggested; with several, a name must
/// be found in one of them), leaves out the files an earlier project of the call worked on, runs
/// `action`, and appends the result log to --log FILE. Then, for that project:
///   - an Abort answer: nothing of it is saved, the projects after it are not opened, exit 3;
///   - --dry-run: a unified diff of what would change on stdout (cli/diff_display.h), nothing written, exit 0;
///   - --check: nothing written, exit 1 when some file's bytes would change, else 0;
///   - otherwise the changed components are saved (unchanged files are never rewritten), exit 0.
/// A summary on stderr counts the projects, the files changed and the files failed, and lists the errors
/// met and every file that failed (--quiet leaves out the counts and notes, never a failure). On a
/// terminal a progress line says what the run does. Unreadable input and failed saves exit 3 with a message naming the
/// file; the other files are still processed and saved.
using CodeAction = std::function<void(engine::Host&, engine::FileList&)>;
int RunCodeVerb(VerbContext& ctx, const CodeVerbOptions& options, const CodeAction& action);

/// Adds the verb `name` with the common options, running `action` through RunCodeVerb.
CLI::App* AddCodeVerb(CLI::App& app, VerbContext& ctx, const std::string& name, const std::string& description,
                      CodeAction action);

/// The results window of the command line: showing it prints the result log on stdout.
class PrintedResultWindow : public engine::ResultWindow {
public:
    PrintedResultWindow(std::ostream& out, const host::ResultLog& log) : out_(out), log_(log) {}
    void ShowModal() override;

private:
    std::ostream& out_;
    const host::ResultLog& log_;
};

}  // namespace vex::cli
