#include "cli/code_verb.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>
#include <set>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/console.h"
#include "cli/diff_display.h"
#include "cli/verb_session.h"
#include "engine/result_log_file.h"
#include "errors/error_report.h"
#include "host/paths.h"
#include "ide/source_module.h"
#include "session/inputs.h"
#include "text/cp1252.h"
#include "text/unified_diff.h"
#include "util/file_io.h"
#include "util/parallel.h"

namespace vex::cli {

namespace {

std::string AnswerWord(host::Answer answer) {
    switch (answer) {
        case host::Answer::Retry: return "retried";
        case host::Answer::Ignore: return "ignored";
        case host::Answer::Abort: return "aborted";
        default: return "answered " + std::to_string(host::Code(answer));
    }
}

void ListErrors(VerbContext& ctx, const errors::ErrorReport& report) {
    for (const auto& e : report.Reported())
        ctx.err << "vextools: error " << e.number << " (" << e.description << ") in " << text::ToUtf8(e.procedure)
                << ", " << AnswerWord(e.answer) << "\n";
}

// The log as a terminal shows it: each CR LF becomes LF (a lone CR stays).
std::string ForDisplay(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t from = 0;;) {
        const size_t crlf = text.find("\r\n", from);
        out.append(text.substr(from, crlf == std::string_view::npos ? crlf : crlf - from));
        if (crlf == std::string_view::npos) return out;
        from = crlf + 1;  // the LF stays
    }
}

}  // namespace

void AddCodeVerbOptions(CLI::App& verb, CodeVerbOptions& options) {
    verb.add_option("PATH", options.projects,
                    "The .vbp projects, .vbg groups, module files and directories (every .vbp below) to work on")
        ->required();
    verb.add_option("--project", options.projectName,
                    "In a .vbg group, work on the project of this name instead of the startup project")
        ->option_text("NAME");
    verb.add_option("--component", options.components,
                    "Work on this component only (repeatable; default: every component)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->option_text("NAME ...");
    verb.add_flag("--dry-run", options.dryRun, "Print a unified diff of what would change; write nothing");
    verb.add_flag("--check", options.check, "Write nothing; exit 1 when some file would change, 0 otherwise");
    verb.add_option("--log", options.logFile, "Append the result log to FILE (created if missing)")
        ->option_text("FILE");
    verb.add_option("--color", options.color,
                    "Colour the --dry-run diff: auto (on a terminal, unless NO_COLOR is set), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->option_text("WHEN");
}

void PrintedResultWindow::ShowModal() { out_ << ForDisplay(log_.Text()) << "\n"; }

CLI::App* AddCodeVerb(CLI::App& app, VerbContext& ctx, const std::string& name, const std::string& description,
                      CodeAction action) {
    auto options = std::make_shared<CodeVerbOptions>();
    auto* verb = app.add_subcommand(name, description);
    AddCodeVerbOptions(*verb, *options);
    verb->callback([&ctx, options, action = std::move(action)] { ctx.exitCode = RunCodeVerb(ctx, *options, action); });
    return verb;
}

namespace {

// The engine's edits leave freed memory scattered through the heap; giving it back before every changed
// module is serialized keeps the run's peak near what it holds (a 1,000,000-line project).
void ReleaseFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}


/// What the projects of one call add up to.
struct RunTotals {
    size_t projects = 0;
    size_t filesChanged = 0;
    long linesChanged = 0;
    std::vector<std::filesystem::path> failed;  ///< every file left out or not saved, in the order met
    bool failure = false;                       ///< exit 3
    bool usage = false;                         ///< exit 2
    bool wouldChange = false;                   ///< --check: exit 1

    void Fail(const std::filesystem::path& file) {
        failure = true;
        if (std::find(failed.begin(), failed.end(), file) == failed.end()) failed.push_back(file);
    }
};

std::string Shown(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::path shown = std::filesystem::proximate(file, ec);
    if (ec || shown.empty() || *shown.begin() == "..") shown = file;
    return shown.generic_string();
}

/// The --component names found in this project's list; each found one is also put in `found`.
std::vector<std::string> NamesInProject(const std::vector<std::string>& wanted, const engine::FileList& lst,
                                        std::set<std::string>& found) {
    std::vector<std::string> present;
    for (const auto& name : wanted)
        for (int16_t i = 0; i < lst.ListCount(); ++i)
            if (lst.List(i) == text::FromUtf8(name)) {
                present.push_back(name);
                found.insert(name);
                break;
            }
    return present;
}

/// What one call shares between its projects.
struct RunShared {
    ProgressLine& progress;
    DiffLook look;
    session::WorkedFiles worked{};
    std::set<std::string> namesFound{};
    RunTotals totals{};
};

// Freeing a large project's modules line by line takes longer than comparing them; the call's last
// project is left for the system to take back when the process ends, in one piece.
void LeaveForExit(std::unique_ptr<VerbSession> session) {
    static auto* const left = new std::vector<std::unique_ptr<VerbSession>>();  // never freed, on purpose
    left->push_back(std::move(session));
}

/// Runs the verb on one project of the call. Returns false when the run must stop (Abort).
bool RunOneProject(VerbContext& ctx, const CodeVerbOptions& options, const CodeAction& action,
                   const std::filesystem::path& input, const std::string& stage, bool several, bool last,
                   RunShared& run) {
    ctx.exitCode = exit_code::kOk;
    session::WorkedFiles& worked = run.worked;
    std::set<std::string>& namesFound = run.namesFound;
    RunTotals& totals = run.totals;
    run.progress.Stage(stage + ": loading");
    auto session = VerbSession::Open(ctx, run.progress, input.string(),
                                     several ? std::vector<std::string>{} : options.components, ide::LoadMode::Code,
                                     options.projectName);
    if (!session) {
        if (ctx.exitCode == exit_code::kUsage) totals.usage = true;
        else totals.Fail(input);
        return true;
    }
    session::Session& core = session->Core();
    for (const auto& f : core.LoadFailures()) totals.Fail(f.file);
    if (several && !options.components.empty()) {
        const auto present = NamesInProject(options.components, core.List(), namesFound);
        if (present.empty()) return true;
        core.Select(present);
    }
    const size_t selectedBefore = [&] {
        size_t n = 0;
        for (int16_t i = 0; i < core.List().ListCount(); ++i) n += core.List().Selected(i) ? 1 : 0;
        return n;
    }();
    // A module shared with a project met earlier in the call has had its turn.
    if (core.SkipWorked(worked) == selectedBefore && selectedBefore > 0) return true;
    ++totals.projects;

    run.progress.Stage(stage + ":");
    if (!options.dryRun && !options.check) core.SaveAsItGoes();
    core.Run(action);

    if (options.logFile) {
        try {
            engine::SaveResultLog(host::PathFromUtf8(*options.logFile), core.Result().Text());
        } catch (const errors::RuntimeError& e) {
            ctx.err << "vextools: " << e.Description() << "\n";
            totals.failure = true;
        }
    }

    const errors::ErrorReport& report = session->Report();
    if (core.Aborted()) {
        ListErrors(ctx, report);
        ctx.err << "vextools: run aborted in " << Shown(core.Project().FileName()) << "; nothing saved\n";
        totals.failure = true;
        return false;
    }

    ReleaseFreedMemory();
    size_t saved = 0;
    if (!options.dryRun && !options.check) {
        // Found, counted and saved in one sweep: the new texts are never all held at once.
        run.progress.Stage(stage + ": saving");
        const ide::ProjectSave outcome = core.SaveChangesAndEnd();
        totals.linesChanged += outcome.linesChanged;
        saved = outcome.saved.size();
        for (const auto& f : outcome.failures) {
            ctx.err << "vextools: " << f.message << "\n";
            totals.Fail(f.file);
        }
        if (!outcome.failures.empty())
            for (const auto& file : outcome.saved) ctx.err << "vextools: saved " << util::Display(file) << "\n";
    } else {
        run.progress.Stage(stage + ": comparing");
        auto changes = core.Changes();
        // Compared on every core and shown in order; the diffs of a --dry-run a few files at a time, so
        // that those held at once stay small. --check only counts.
        const size_t batch = options.dryRun ? 4 * util::Cores() : changes.size();
        for (size_t first = 0; first < changes.size(); first += batch) {
            std::vector<text::TextDiff> diffs(std::min(batch, changes.size() - first));
            util::ForEachIndex(diffs.size(), util::Cores(), [&](size_t k) {
                const auto& change = changes[first + k];
                if (options.dryRun) diffs[k] = text::DiffTexts(change.before, change.after, Shown(change.file));
                else diffs[k].linesChanged = text::ChangedLineCount(change.before, change.after);
            });
            for (const auto& diff : diffs) {
                totals.linesChanged += diff.linesChanged;
                if (options.dryRun) ctx.out << ShowDiff(diff.unified, run.look);
            }
        }
        if (options.check) {
            if (!ctx.global.quiet)
                for (const auto& change : changes) ctx.err << "vextools: would change " << change.file.string() << "\n";
            totals.wouldChange = totals.wouldChange || !changes.empty();
        }
        saved = changes.size();
    }
    totals.filesChanged += saved;
    ListErrors(ctx, report);
    if (core.SkippedWork()) {
        ctx.err << "vextools: an error was answered Ignore in " << Shown(core.Project().FileName())
                << "; the work it stopped was skipped\n";
        totals.failure = true;
    }
    if (last) LeaveForExit(std::move(session));
    return true;
}

}  // namespace

int RunCodeVerb(VerbContext& ctx, const CodeVerbOptions& options, const CodeAction& action) {
    if (options.dryRun && options.check) {
        ctx.err << "vextools: --dry-run and --check cannot be used together\n";
        return exit_code::kUsage;
    }
    const auto inputs = session::ExpandInputs(options.projects);
    if (inputs.empty()) {
        ctx.err << "vextools: no .vbp project found in " << options.projects.front() << "\n";
        return exit_code::kFailure;
    }
    ctx.printResult = !options.dryRun && !options.check && !options.logFile;
    const bool several = inputs.size() > 1;
    const bool outIsTerminal = &ctx.out == &std::cout && StdoutIsTerminal();
    ProgressLine progress(ctx.err, ShowsProgress(ctx), outIsTerminal ? &ctx.out : nullptr);
    RunShared run{progress, ChooseLook(options.color, outIsTerminal)};
    RunTotals& totals = run.totals;
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string stage = inputs[i].filename().string();
        if (several) stage = "[" + std::to_string(i + 1) + "/" + std::to_string(inputs.size()) + "] " + stage;
        if (!RunOneProject(ctx, options, action, inputs[i], stage, several, i + 1 == inputs.size(), run)) break;
    }
    progress.Finish();
    if (several)
        for (const auto& name : options.components)
            if (!run.namesFound.count(name)) {
                ctx.err << "vextools: no component named \"" << name << "\" in any of the projects\n";
                totals.usage = true;
            }

    const bool writes = !options.dryRun && !options.check;
    if (!ctx.global.quiet)
        ctx.err << totals.projects << " project(s), " << totals.filesChanged << " file(s) "
                << (writes ? "changed" : "would change") << ", " << totals.failed.size() << " file(s) failed, "
                << totals.linesChanged << " line(s) changed\n";
    for (const auto& file : totals.failed) ctx.err << "vextools: failed: " << util::Display(file) << "\n";
    if (totals.failure) return exit_code::kFailure;
    if (totals.usage) return exit_code::kUsage;
    return totals.wouldChange ? exit_code::kChanges : exit_code::kOk;
}

}  // namespace vex::cli
