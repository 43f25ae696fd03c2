#pragma once
// The service that copies one file for the backup: the shell's file copy, without its windows.

#include <filesystem>
#include <string>

#include "util/file_io.h"

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

    /// Puts in place the copies Copy() has accepted but kept back (a service may keep them, so that they
    /// reach the disk together). Returns how many could not be put in place, with the reason in `error`
    /// (UTF-8, naming the file) when given; those destinations stay as they were.
    virtual long Finish(std::string* error) {
        (void)error;
        return 0;
    }
};

/// The real copy: the bytes go to a temporary file in the destination's folder, which replaces the
/// destination in one rename, so the destination is never half-written. The copies of a run are flushed
/// to disk together and renamed in order at Finish(): one flush per file in turn would take most of a
/// backup's time. The copy keeps the source's modification time and permission bits. Copying a file onto
/// itself succeeds and changes nothing.
class FileSystemCopyService : public CopyService {
public:
    bool Copy(const std::filesystem::path& source, const std::filesystem::path& destination,
              std::string* error) override;
    long Finish(std::string* error) override;

private:
    util::StagedFiles staged_;
    std::filesystem::path madeFolder_;  // the destination folder last made sure of
};

}  // namespace vex::backup
