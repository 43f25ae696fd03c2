#pragma once
// The service that copies one file for the backup: the shell's file copy, without its windows.

#include <filesystem>
#include <string>

namespace vex::backup {

/// Copies single files. A copy never asks anything: an existing destination file is replaced.
class CopyService {
public:
    virtual ~CopyService() = default;

    /// Copies the regular file `source` to the file path `destination`. Returns false when the copy failed,
    /// with the reason in `error` (UTF-8, naming the files) when given. A failed copy leaves the
    /// destination as it was.
    virtual bool Copy(const std::filesystem::path& source, const std::filesystem::path& destination,
                      std::string* error) = 0;
};

/// The real copy: the bytes go to a temporary file in the destination's folder, which then replaces the
/// destination in one rename, so the destination is never half-written. The copy keeps the source's
/// modification time and permission bits. Copying a file onto itself succeeds and changes nothing.
class FileSystemCopyService : public CopyService {
public:
    bool Copy(const std::filesystem::path& source, const std::filesystem::path& destination,
              std::string* error) override;
};

}  // namespace vex::backup
