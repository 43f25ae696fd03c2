#pragma once
// The seam through which tests stop a save between its steps: by killing the process there, or by making
// the step fail as the system would (a full disk, a lost device). Saves ask the probe at each step; with
// no probe installed (always, outside tests) every step goes on.

#include <filesystem>

namespace vex::util {

/// The steps of an atomic save, in the order they come for each file. A save of several files writes
/// every temporary file, then flushes them all, then renames them one by one.
enum class SaveStep {
    Written,       ///< the temporary file beside the target holds the new bytes (not yet flushed)
    Flushed,       ///< the temporary file is on disk and closed
    BeforeRename,  ///< the target is about to be replaced
    Renamed,       ///< the target holds the new bytes
};

class SaveProbe {
public:
    virtual ~SaveProbe() = default;
    /// Called at `step` of saving `target`, on the thread that saves. Returns 0 to go on, or a system
    /// error number (errno; a Win32 error code on Windows) with which the step then fails. The result is
    /// ignored at SaveStep::Renamed, which has already happened.
    virtual int At(SaveStep step, const std::filesystem::path& target) = 0;
};

/// Installs `probe` for every later save in the process (null: none); returns the one it replaces.
SaveProbe* SetSaveProbe(SaveProbe* probe);

/// For the savers: the installed probe's answer at `step`, 0 when none is installed.
int ProbeSave(SaveStep step, const std::filesystem::path& target);

}  // namespace vex::util
