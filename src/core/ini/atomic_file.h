#pragma once
// Whole-file writes that never leave a half-written file behind, and the advisory lock that serialises
// read-modify-write cycles between processes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vex::ini {

/// Reads the whole file. Returns nothing when it does not exist; throws RuntimeError (75, naming the
/// file) when it exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

/// Replaces `path` with `bytes` atomically: a temporary file in the same directory is written, flushed
/// and renamed over the target, so readers see either the old or the new content. An existing file keeps
/// its permission bits; a symbolic link is followed so the link itself stays. Throws RuntimeError (75,
/// naming the file) on failure and leaves the target untouched.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// An exclusive advisory lock (flock) on `path` + ".lock", held for the object's lifetime. The lock file
/// is created when missing and left in place afterwards: removing it would race with the next locker.
class FileLock {
public:
    /// Blocks until the lock is held. Throws RuntimeError (75) when the lock file cannot be opened.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace vex::ini
