#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "errors/runtime_error.h"
#include "ini/locked_file.h"
#include "util/file_io.h"

namespace vex::ini {
namespace fs = std::filesystem;

FileLock::FileLock(const fs::path& path) {
    const fs::path lockPath = LockFileFor(path);
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    int err = errno;
    if (fd_ >= 0) {
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            err = errno;
            ::close(fd_);
            fd_ = -1;
            break;
        }
    }
    if (fd_ < 0)
        throw errors::RuntimeError(errors::code::kPathFileAccess,
                                   util::Display(lockPath) + ": cannot lock: " + std::strerror(err));
    RemoveLegacyLockFile(path);
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace vex::ini
