// backup: copies the project's file and its components' files into one directory, as the toolbar's
// "Backup" command does after its directory dialog.

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <fmt/ostream.h>

#include <filesystem>
#include <system_error>

#include <iostream>
#include <memory>

#include "backup/backup.h"
#include "backup/backup_dir_model.h"
#include "cli/code_verb.h"
#include "cli/environment.h"
#include "cli/progress_line.h"
#include "cli/verbs.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/project_list.h"
#include "errors/runtime_error.h"
#include "ide/project_loader.h"
#include "settings/locations.h"
#include "util/file_io.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

struct BackupArgs {
    std::string project;
    std::optional<std::string> to;
    std::vector<std::string> components;
};

void RunBackup(VerbContext& ctx, const BackupArgs& args) {
    ide::Workspace ws;
    std::unique_ptr<settings::SettingsStore> store;
    std::string directory;
    try {
        ws = ide::LoadWorkspace(args.project);
        store = OpenStore(ctx.global);
        if (args.to) {
            directory = *args.to;  // for this run only: the stored directory stays
        } else {
            const std::string addIn = settings::AddinDirectory().string();
            directory = store->Get(backup::kBackupDirKey, addIn);
            // The add-in's own directory exists wherever the add-in is installed; make sure it does here.
            std::error_code ec;
            if (directory == addIn) fs::create_directories(directory, ec);
        }
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
        ctx.exitCode = exit_code::kFailure;
        return;
    }
    // As at the toolbar, where the dialog's empty answer ends the command: no directory, no backup (an
    // empty text would otherwise put the copies at the file system's root).
    if (directory.empty()) {
        ctx.err << "vextools: backup: the backup directory is empty; give one with --to DIR\n";
        ctx.exitCode = exit_code::kUsage;
        return;
    }
    for (const auto& w : ws.Warnings()) ctx.err << "vextools: warning: " << w << "\n";

    engine::SystemClock clock;
    engine::NullScreen screen;
    engine::StringResultLog result;
    StreamNotices notices(ctx.err);
    const auto prompter = MakePrompter(ctx.global, std::cin, ctx.err);
    const auto report = MakeErrorReport(*prompter, clock, &screen);
    ProgressLine progress(ctx.err, &ctx.err == &std::cerr && StderrIsTerminal());
    engine::Host host{ws.ActiveVBProject(), progress.Project(), progress.File(), screen, result, *store,
                      *report,              *prompter,          notices,         clock};

    engine::PlainFileList lst;
    engine::LoadProjectFile(host, lst);
    if (!SelectComponents(ctx, host, lst, args.components)) {
        ctx.exitCode = exit_code::kUsage;
        return;
    }

    backup::FileSystemCopyService copier;
    const auto outcome = backup::CreateBackUp(host, directory, lst, copier);
    progress.Finish();

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
