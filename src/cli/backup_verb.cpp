// backup: copies the project's file and its components' files into one directory, as the toolbar's
// "Backup" command does after its directory dialog.

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "backup/add_in_directory.h"
#include "backup/backup.h"
#include "backup/backup_dir_model.h"
#include "cli/verbs.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "errors/error_report.h"
#include "errors/prompter.h"
#include "errors/runtime_error.h"
#include "ide/project_loader.h"
#include "settings/memory_settings_store.h"
#include "text/cp1252.h"
#include "util/file_io.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

struct BackupArgs {
    std::string project;
    std::optional<std::string> to;
    std::vector<std::string> components;
};

// Answers every question by the --on-error policy. "ask" (or no policy) answers Abort here.
class PolicyPrompter : public errors::Prompter {
public:
    explicit PolicyPrompter(std::string policy) : policy_(std::move(policy)) {}
    int MsgBox(const errors::Message& m) override {
        if ((m.style & 0xF) == errors::style::kOkOnly) return errors::answer::kOk;
        if (policy_ == "retry") return ++retries_ <= kMaxRetries ? errors::answer::kRetry : errors::answer::kAbort;
        if (policy_ == "ignore") return errors::answer::kIgnore;
        return errors::answer::kAbort;
    }

private:
    static constexpr int kMaxRetries = 3;
    std::string policy_;
    int retries_ = 0;
};

// Prints each report on stderr and answers it through the prompter.
class StderrErrorReport : public errors::ErrorReport {
public:
    StderrErrorReport(std::ostream& err, errors::Prompter& prompter) : err_(err), prompter_(prompter) {}
    std::string gestErreur(std::string_view procedureName, const errors::RuntimeError& error, long,
                           const std::optional<std::string>& = std::nullopt) override {
        fmt::print(err_, "vextools: {}: error {}: {}\n", procedureName, error.Number(), error.Description());
        std::string answer = "5";
        if (error.Number() != 0)
            answer = std::to_string(prompter_.MsgBox(
                {error.Description(), "", errors::style::kAbortRetryIgnore + errors::style::kCritical}));
        reported_.push_back({std::string(procedureName), error.Number(), error.Description(), answer});
        return answer;
    }
    const std::vector<errors::ReportedError>& Reported() const override { return reported_; }

private:
    std::ostream& err_;
    errors::Prompter& prompter_;
    std::vector<errors::ReportedError> reported_;
};

class StderrNotices : public engine::Notices {
public:
    explicit StderrNotices(std::ostream& err) : err_(err) {}
    void Notice(std::string_view text) override { fmt::print(err_, "vextools: {}\n", text); }

private:
    std::ostream& err_;
};

// LoadProjectFile: one row per named component, in project order, every row selected.
void FillList(const ide::Project& project, engine::FileList& lst) {
    lst.Clear();
    for (const auto& c : project.VBComponents())
        if (!c.Name().empty()) lst.AddItem(c.Name());
    for (int16_t i = 0; i < lst.ListCount(); ++i) lst.SetSelected(i, true);
}

size_t Distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const bool same = text::LowerChar(a[i - 1]) == text::LowerChar(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// --component: only the named rows stay selected. False (after a message) when a name has no row.
bool SelectComponents(VerbContext& ctx, engine::FileList& lst, const std::vector<std::string>& names) {
    if (names.empty()) return true;
    for (int16_t i = 0; i < lst.ListCount(); ++i) lst.SetSelected(i, false);
    for (const auto& utf8 : names) {
        const std::string name = text::FromUtf8(utf8);
        bool found = false;
        for (int16_t i = 0; i < lst.ListCount() && !found; ++i)
            if (lst.List(i) == name) {
                lst.SetSelected(i, true);
                found = true;
            }
        if (found) continue;
        std::vector<std::pair<size_t, std::string>> near;
        for (int16_t i = 0; i < lst.ListCount(); ++i) near.emplace_back(Distance(name, lst.List(i)), lst.List(i));
        std::stable_sort(near.begin(), near.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        std::string hint;
        for (size_t k = 0; k < near.size() && k < 3; ++k) hint += (k ? ", " : "") + text::ToUtf8(near[k].second);
        fmt::print(ctx.err, "vextools: no component named \"{}\"{}\n", utf8,
                   hint.empty() ? std::string() : " (nearest: " + hint + ")");
        ctx.exitCode = exit_code::kUsage;
        return false;
    }
    return true;
}

void RunBackup(VerbContext& ctx, const BackupArgs& args) {
    settings::MemorySettingsStore store;
    PolicyPrompter prompter(ctx.global.onError);
    StderrErrorReport report(ctx.err, prompter);

    ide::Workspace ws;
    try {
        ws = ide::LoadWorkspace(args.project);
    } catch (const errors::RuntimeError& e) {
        fmt::print(ctx.err, "vextools: {}\n", e.Description());
        ctx.exitCode = exit_code::kFailure;
        return;
    }
    for (const auto& w : ws.Warnings()) fmt::print(ctx.err, "vextools: warning: {}\n", w);
    ide::Project& project = *ws.ActiveVBProject();

    engine::PlainFileList lst;
    FillList(project, lst);
    if (!SelectComponents(ctx, lst, args.components)) return;

    std::string directory;
    if (args.to) {
        directory = *args.to;  // for this run only: the stored directory stays
    } else {
        const std::string addIn = backup::AddInDirectory().string();
        directory = store.Get(backup::kBackupDirKey, addIn);
        // The add-in's own directory exists wherever the add-in is installed; make sure it does here.
        std::error_code ec;
        if (directory == addIn) fs::create_directories(directory, ec);
    }

    engine::PlainProgressBar percentProject, percentFile;
    engine::NullScreen screen;
    engine::StringResultLog result;
    StderrNotices notices(ctx.err);
    engine::SystemClock clock;
    engine::Host host{&project, percentProject, percentFile, screen, result, store, report, prompter, notices, clock};
    backup::FileSystemCopyService copier;
    const auto outcome = backup::CreateBackUp(host, directory, lst, copier);

    fmt::print(ctx.err, "backup: {} file{} copied, {} file{} failed, into {}{}\n", outcome.copied,
               outcome.copied == 1 ? "" : "s", outcome.failed, outcome.failed == 1 ? "" : "s",
               util::Display(directory),
               outcome.aborted ? " (aborted)" : outcome.stopped ? " (stopped at the failed file)" : "");
    if (outcome.failed > 0 || outcome.stopped || outcome.aborted) ctx.exitCode = exit_code::kFailure;
}

}  // namespace

void RegisterBackupVerbs(CLI::App& app, VerbContext& ctx) {
    static BackupArgs args;
    args = BackupArgs{};  // a fresh start for each command line run in this process
    auto* backup = app.add_subcommand(
        "backup", "Copy the project's file and every file of its components into one directory\n"
                  "(a file of the same name there is replaced; a second file of one name in a run\n"
                  "is stored as \"name (2).ext\"). Exit 3 when some file was not copied.");
    backup->add_option("PROJECT", args.project, "Project (.vbp), group (.vbg) or module file")->required();
    backup->add_option("--to", args.to, "Backup directory for this run (default: the stored \"Backup Dir\", else\n"
                                        "the add-in's directory); nothing is stored");
    backup->add_option("--component", args.components, "Back up only this component (repeatable; default: all)");
    backup->callback([&ctx] { RunBackup(ctx, args); });
}

}  // namespace vex::cli
