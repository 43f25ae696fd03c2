#pragma once
// What a read-modify-write of a small file needs beside util/file_io.h: an advisory lock that serialises
// such cycles between processes, a read that takes a missing file as empty, and the real file behind a
// symbolic link (so that replacing the file keeps the link).

#include <filesystem>
#include <optional>
#include <string>

namespace vex::ini {

/// An exclusive advisory lock (flock; LockFileEx on Windows) on the hidden file LockFileFor(path), held for
/// the object's lifetime. The lock file is created when missing and left in place afterwards: removing it
/// would race with the next locker. (The file itself cannot carry the lock: saving replaces it.)
class FileLock {
public:
    /// Blocks until the lock is held. Throws RuntimeError (75, naming the file) when it cannot be opened.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;            // POSIX
    void* handle_ = nullptr;  // Windows
};

/// Where the lock of `path` lives: "." + its name + ".lock" in its folder, hidden from a plain listing
/// (and given the hidden attribute on Windows).
std::filesystem::path LockFileFor(const std::filesystem::path& path);

/// Removes the empty "name.lock" beside `path` that earlier versions locked and left in sight. A file of
/// that name with anything in it is not ours and stays. Never throws.
void RemoveLegacyLockFile(const std::filesystem::path& path);

/// The file's bytes, or nothing when it does not exist. Throws RuntimeError when it cannot be read.
std::optional<std::string> ReadIfExists(const std::filesystem::path& path);

/// The target of `path` when it is a symbolic link (followed to the end), else `path` itself.
std::filesystem::path ResolveSymlink(const std::filesystem::path& path);

}  // namespace vex::ini
