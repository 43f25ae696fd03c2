#pragma once
// The "Backup" command: copies the active project's file and the files of the selected components into
// one directory.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "backup/copy_service.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "host/prompter.h"

namespace vex::backup {

/// Copy flags (the shell's values).
namespace copy_flag {
inline constexpr int32_t kNoConfirmation = 16;  ///< answer yes to every question: replace without asking
inline constexpr int32_t kFilesOnly = 128;
}  // namespace copy_flag

/// The stop question asked when a component's file cannot be copied.
inline constexpr const char* kStopQuestion = "Do you want to stop now ?";
inline constexpr int kStopQuestionStyle =
    host::style::kRetryCancel + host::style::kQuestion + host::style::kDefaultButton2;  // 293

/// What a run did, for hosts that report it (the desktop shows nothing of it).
struct BackupOutcome {
    long copied = 0;       ///< files copied, the project's own file included
    long failed = 0;       ///< files not copied: a failed project file, the file at which the user stopped
    long renamed = 0;      ///< files stored under "name (n).ext" because another file took their name
    bool stopped = false;  ///< the stop question was answered with something other than Retry
    bool aborted = false;  ///< an error report was answered Abort and the run left at once
};

/// CreateBackUp: copies into `strDirectory` the active project's own file (its failure is not looked
/// at), then every file of every component whose row of `lst` is selected, in project order, each under
/// its name as the file system holds it (`strDirectory` + "/" + name). A failed component file asks
/// "Do you want to stop now ?": Retry copies it again, any other answer ends the run. Errors are
/// reported with the tag "CreateBackUp". Two different files of the same name are kept apart: the later
/// one is stored as "name (2).ext" and a notice says so. Once the walk is over (also when stopped or
/// aborted) the copier's Finish() puts the copies in place; those it could not are counted failed, with
/// a notice.
BackupOutcome CreateBackUp(engine::Host& host, const std::string& strDirectory, engine::FileList& lst,
                           CopyService& copier);

/// The arguments of one copy: the flags, then the source paths.
struct CopyArgs {
    int32_t flags = 0;
    std::vector<std::filesystem::path> sources;
};

/// fApiCopyFile: copies the sources to `strDestination` with `flags` | kFilesOnly. `strDestination` is
/// the copy's path, or a folder that receives the files under their own names (always, for several sources). The copy never asks, whatever the flags: an existing file is
/// replaced. Each failure's reason goes to the host's notices. True when every source was copied.
/// Errors are reported with the tag "Public Function fApiCopyFile"; an aborted call answers false.
bool fApiCopyFile(engine::Host& host, CopyService& copier, const std::string& strDestination, const CopyArgs& args);

}  // namespace vex::backup
