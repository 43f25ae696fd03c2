// backup: copies the project's file and its components' files into one directory, as the toolbar's
// "Backup" command does after its directory dialog.

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <fmt/ostream.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "backup/backup.h"
#include "backup/backup_dir_model.h"
#include "cli/verb_session.h"
#include "cli/verbs.h"
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
    // Copying needs the components' names and files, not their code.
    ProgressLine progress(ctx.err, ShowsProgress(ctx));
    progress.Stage(std::filesystem::path(args.project).filename().string() + ": backup");
    auto session = VerbSession::Open(ctx, progress, args.project, args.components, ide::LoadMode::Names);
    if (!session) return;
    std::string directory;
    if (args.to) {
        directory = *args.to;  // for this run only: the stored directory stays
    } else {
        const std::string addIn = settings::AddinDirectory().string();
        directory = session->Store().Get(backup::kBackupDirKey, addIn);
        // The add-in's own directory exists wherever the add-in is installed; make sure it does here.
        std::error_code ec;
        if (directory == addIn) fs::create_directories(directory, ec);
    }
    // As at the toolbar, where the dialog's empty answer ends the command: no directory, no backup (an
    // empty text would otherwise put the copies at the file system's root).
    if (directory.empty()) {
        ctx.err << "vextools: backup: the backup directory is empty; give one with --to DIR\n";
        ctx.exitCode = exit_code::kUsage;
        return;
    }

    backup::FileSystemCopyService copier;
    const auto outcome = backup::CreateBackUp(session->Host(), directory, session->List(), copier);
    progress.Finish();

    fmt::print(ctx.err, "backup: {} file{} copied, {} file{} failed, into {}{}\n", outcome.copied,
               outcome.copied == 1 ? "" : "s", outcome.failed, outcome.failed == 1 ? "" : "s",
               util::Display(directory),
               outcome.aborted ? " (aborted)" : outcome.stopped ? " (stopped at the failed file)" : "");
    if (outcome.failed > 0 || outcome.stopped || outcome.aborted) ctx.exitCode = exit_code::kFailure;
}

}  // namespace

void RegisterBackupVerbs(CLI::App& app, VerbContext& ctx) {
    auto args = std::make_shared<BackupArgs>();
    auto* backup = app.add_subcommand(
        "backup", "Copy the project's file and every file of its components into one directory\n"
                  "(a file of the same name there is replaced; a second file of one name in a run\n"
                  "is stored as \"name (2).ext\"). Exit 3 when some file was not copied.");
    backup->add_option("PROJECT", args->project, "Project (.vbp), group (.vbg) or module file")->required();
    backup->add_option("--to", args->to, "Backup directory for this run (default: the stored \"Backup Dir\", else\n"
                                        "the add-in's directory); nothing is stored");
    backup->add_option("--component", args->components, "Back up only this component (repeatable; default: all)");
    backup->callback([&ctx, args] { RunBackup(ctx, *args); });
}

}  // namespace vex::cli
