#pragma once
// Reading and writing whole files. Failures raise errors::RuntimeError with the path and the reason.

#include <ctime>
#include <filesystem>
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

/// The permission bits and modification time of `path`. Throws RuntimeError when it cannot be read.
FileStamp StampOf(const std::filesystem::path& path);

/// True when `path` exists and may not be replaced: read-only (permission bits, the read-only attribute),
/// or on Windows held open by another program that does not share it.
bool IsReadOnly(const std::filesystem::path& path);

/// The path as UTF-8 text for messages.
std::string Display(const std::filesystem::path& path);

}  // namespace vex::util
