#include "backup/backup.h"

#include <optional>

#include "backup/backup_names.h"
#include "backup/file_system_name.h"
#include "errors/runtime_error.h"
#include "errors/trap.h"
#include "host/paths.h"
#include "ide/project.h"
#include "util/file_io.h"

namespace vex::backup {

namespace fs = std::filesystem;

namespace {

constexpr int kObjectNotSet = 91;  // VB's "Object variable or With block variable not set"

/// One file of the run: where it is read from and where its copy goes.
struct Target {
    fs::path source;
    std::string destination;
    bool found = false;  ///< the file was on disk when its name was asked for
};

/// The run's state shared by its steps.
class BackupRun {
public:
    BackupRun(engine::Host& host, const std::string& directory, CopyService& copier)
        : host_(host), directory_(directory), copier_(copier) {}

    /// The file as the file system holds it (the host's file system ignores letter case), and its
    /// destination under the name it holds in this run.
    Target Resolve(const fs::path& file) {
        const fs::path onDisk = FindOnDisk(file);
        Target t{onDisk.empty() ? file : onDisk, {}, !onDisk.empty()};
        const std::string name = onDisk.filename().string();
        bool renamed = false;
        const std::string stored = names_.Claim(name, t.source, renamed);
        if (renamed) {
            ++outcome.renamed;
            host_.notices.Notice("backup: " + util::Display(t.source) + " is stored as \"" + util::Display(stored) +
                                 "\" because another file named \"" + util::Display(name) +
                                 "\" was copied in this run");
        }
        t.destination = directory_ + "/" + stored;
        return t;
    }

    bool Copy(const Target& t) {
        return fApiCopyFile(host_, copier_, t.destination, CopyArgs{copy_flag::kNoConfirmation, {t.source}});
    }

    BackupOutcome outcome;

private:
    engine::Host& host_;
    const std::string& directory_;
    CopyService& copier_;
    BackupNames names_;
};

BackupOutcome WalkBackUp(engine::Host& host, const std::string& strDirectory, engine::FileList& lst,
                         CopyService& copier) {
    errors::Trap trap(host.report, "CreateBackUp");
    BackupRun run(host, strDirectory, copier);
    BackupOutcome& out = run.outcome;
    // Abort leaves at once: the pointer and the bars stay as they are.
    auto leave = [&] {
        out.aborted = true;
        return out;
    };

    host.screen.SetPointer(host::Pointer::Hourglass);
    ide::Project* project = nullptr;
    if (!trap.Run([&] {
            if (!host.activeProject)
                throw errors::RuntimeError(kObjectNotSet, "Object variable or With block variable not set");
            project = host.activeProject;
            host.percentProject.SetMax(static_cast<long>(project->VBComponents().size()));
            host.percentProject.SetValue(0);
        }))
        return leave();

    // The project's own file: whether it was copied is not looked at, and nothing is asked.
    if (project && !trap.Run([&] {
            if (run.Copy(run.Resolve(project->FileName())))
                ++out.copied;
            else
                ++out.failed;
        }))
        return leave();

    // Components are visited by index, the count read afresh: a yield may let the host change the project.
    for (size_t c = 0; project && c < project->VBComponents().size() && !out.stopped; ++c) {
        const ide::Component& component = project->VBComponents()[c];
        host.percentProject.SetValue(host.percentProject.Value() + 1);
        const int16_t rows = lst.ListCount();
        // Every row is compared: a name listed twice is backed up twice (into the same files).
        for (int16_t i = 0; i < rows && !out.stopped; ++i) {
            bool chosen = false;
            if (!trap.Run([&] {
                    host.screen.SetPointer(host::Pointer::Hourglass);
                    host.screen.DoEvents();
                    chosen = lst.List(i) == component.Name() && lst.Selected(i);
                }))
                return leave();
            if (!chosen) continue;

            long fileCount = 0;
            if (!trap.Run([&] {
                    lst.SetListIndex(i);
                    fileCount = component.FileCount();
                    host.percentFile.SetMax(fileCount);
                    host.percentFile.SetValue(0);
                }))
                return leave();

            for (long j = 1; j <= fileCount && !out.stopped; ++j) {
                std::optional<Target> target;
                if (!trap.Run([&] { target = run.Resolve(component.FileNames(j)); })) return leave();
                if (!target) {  // the error was ignored: this file is passed over
                    ++out.failed;
                    continue;
                }
                for (bool retry = false;; retry = true) {
                    host.percentFile.SetValue(j);
                    // A file missing when its name was asked for has no name; if the user brought it back
                    // before answering Retry, it gets its name now.
                    if (retry && !target->found &&
                        !trap.Run([&] { target = run.Resolve(component.FileNames(j)); }))
                        return leave();
                    if (run.Copy(*target)) {
                        ++out.copied;
                        break;
                    }
                    const host::Answer answer = host.prompter.MsgBox({kStopQuestion, "", kStopQuestionStyle});
                    if (answer != host::Answer::Retry) {
                        ++out.failed;
                        out.stopped = true;
                        break;
                    }
                }
            }
            if (out.stopped) break;
            host.percentFile.SetValue(0);
            host.screen.DoEvents();
        }
    }

    host.screen.SetPointer(host::Pointer::Default);
    host.percentProject.SetValue(0);
    host.percentFile.SetValue(0);
    return out;
}

}  // namespace

BackupOutcome CreateBackUp(engine::Host& host, const std::string& strDirectory, engine::FileList& lst,
                           CopyService& copier) {
    BackupOutcome out = WalkBackUp(host, strDirectory, lst, copier);
    // The copies are put in place once the walk is over, also when it stopped or was aborted: what was
    // copied stays copied.
    std::string why;
    if (const long lost = copier.Finish(&why); lost > 0) {
        host.notices.Notice(why);
        out.copied -= lost;
        out.failed += lost;
    }
    return out;
}

bool fApiCopyFile(engine::Host& host, CopyService& copier, const std::string& strDestination, const CopyArgs& args) {
    errors::Trap trap(host.report, "Public Function fApiCopyFile");
    bool copied = false;
    const bool finished = trap.Run([&] {
        // The service never asks and copies files only, so the flags (with kFilesOnly added) change
        // nothing here. Like the shell, a destination that is a folder (always, with several sources)
        // receives the files under their own names; the copy stops at the first failure.
        bool ok = !args.sources.empty();
        const fs::path to = host::PathFromUtf8(strDestination);
        const bool intoFolder = args.sources.size() > 1 || fs::is_directory(to);
        for (const fs::path& source : args.sources) {
            const fs::path destination = intoFolder ? to / source.filename() : to;
            std::string why;
            if (!copier.Copy(source, destination, &why)) {
                host.notices.Notice(why.empty() ? "cannot copy " + util::Display(source) + " to " +
                                                      util::Display(destination)
                                                : why);
                ok = false;
                break;
            }
        }
        copied = ok;  // set last: an ignored error leaves the answer false
    });
    return finished && copied;
}

}  // namespace vex::backup
