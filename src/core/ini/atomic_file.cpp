#include "ini/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "errors/runtime_error.h"

namespace vex::ini {
namespace fs = std::filesystem;
namespace {

errors::RuntimeError FileError(const fs::path& path, std::string_view what, int err) {
    return errors::RuntimeError(errors::code::kPathFileAccess,
                                std::string(what) + " " + path.string() + ": " + std::strerror(err));
}

// The file a write must replace: the target of a symbolic link, so that the link survives.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        const fs::path target = fs::read_symlink(path, ec);
        if (!ec) return target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno;
        std::error_code ec;
        if (!fs::exists(path, ec)) return std::nullopt;
        throw FileError(path, "cannot read", err);
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw FileError(path, "cannot read", errno);
    return std::move(text).str();
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = ResolveTarget(path);
    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw FileError(target, "cannot write", errno);

    // mkstemp creates the file 0600; keep the old file's bits, or give a new one the usual 0666 & ~umask.
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int failure = ok ? errno : err;
        ::unlink(temp.c_str());
        throw FileError(target, "cannot write", failure);
    }
}

FileLock::FileLock(const fs::path& path) {
    const std::string lockPath = path.string() + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw FileError(lockPath, "cannot lock", errno);
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int err = errno;
            ::close(fd_);
            throw FileError(lockPath, "cannot lock", err);
        }
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace vex::ini
