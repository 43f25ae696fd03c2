#pragma once
// Reading and writing whole files. Failures raise errors::RuntimeError with the path and the reason.

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vex::util {

/// The file's bytes. Error 53 when it does not exist, 75 when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

/// What a written file should carry besides its bytes.
struct FileStamp {
    unsigned mode = 0;    ///< permission bits
    timespec modified{};  ///< modification time
};

/// Replaces (or creates) `path` with `bytes` atomically: the bytes go to a temporary file in the same
/// folder, which is then renamed over `path`. The file gets `stamp` when given; otherwise an existing
/// file's permission bits are kept. On failure the temporary file is removed and `path` is untouched.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     const std::optional<FileStamp>& stamp = std::nullopt);

/// True when the file at `path` holds exactly `bytes`. Compares as it reads, without a copy of the file.
/// Throws RuntimeError (53 or 75) when the file cannot be read.
bool FileHolds(const std::filesystem::path& path, std::string_view bytes);

/// One file of WriteFilesAtomic.
struct FileWrite {
    std::filesystem::path path;
    std::string_view bytes;
};

/// Replaces every file as WriteFileAtomic does, durably and in one sweep: all the temporary files are
/// written, then flushed together, then renamed in order. When writing or flushing fails nothing is
/// replaced; `renamed` (when given) counts the files replaced before a failed rename.
void WriteFilesAtomic(const std::vector<FileWrite>& files, size_t* renamed = nullptr);

/// Files put in place together, for callers that learn of them one at a time (the copies of a backup):
/// Write() writes each to a temporary file beside its target, or throws as WriteFileAtomic does (the
/// files written before stay staged); Commit() flushes them all together, then renames each over its
/// target in the order written, and throws as WriteFilesAtomic does. Whatever is not committed is removed
/// when the object goes. However many files are staged, only a few hundred are held open: the earlier
/// ones are flushed and closed to make room, and a flush that fails then is Commit's to report (nothing
/// is renamed before Commit).
class StagedFiles {
public:
    StagedFiles();
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    void Write(const std::filesystem::path& path, std::string_view bytes,
               const std::optional<FileStamp>& stamp = std::nullopt);
    /// `renamed` (when given) counts the files replaced, also when a rename fails.
    void Commit(size_t* renamed = nullptr);
    /// The files written and not yet committed.
    size_t Count() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// The permission bits and modification time of `path`. Throws RuntimeError when it cannot be read.
FileStamp StampOf(const std::filesystem::path& path);

/// True when `path` exists and may not be replaced: read-only (permission bits, the read-only attribute),
/// or on Windows held open by another program that does not share it.
bool IsReadOnly(const std::filesystem::path& path);

/// The path as UTF-8 text for messages.
std::string Display(const std::filesystem::path& path);

}  // namespace vex::util
