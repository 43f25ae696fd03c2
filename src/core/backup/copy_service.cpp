#include "backup/copy_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "util/file_io.h"

namespace vex::backup {

namespace fs = std::filesystem;

namespace {

/// Closes a descriptor and removes a temporary file unless released.
class TempFile {
public:
    TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    bool Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }
    void Release() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool Fail(std::string* error, const fs::path& source, const fs::path& destination, const std::string& why) {
    if (error) *error = "cannot copy " + util::Display(source) + " to " + util::Display(destination) + ": " + why;
    return false;
}

std::string ErrnoText(int err) { return std::strerror(err); }

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool FileSystemCopyService::Copy(const fs::path& source, const fs::path& destination, std::string* error) {
    std::error_code ec;
    const auto status = fs::status(source, ec);
    if (ec || !fs::exists(status)) return Fail(error, source, destination, "the file does not exist");
    if (!fs::is_regular_file(status)) return Fail(error, source, destination, "it is not a regular file");
    if (fs::equivalent(source, destination, ec) && !ec) return true;  // the file is its own copy already

    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return Fail(error, source, destination, ErrnoText(errno));
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) return Fail(error, source, destination, ErrnoText(errno));

    const fs::path folder = destination.has_parent_path() ? destination.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + destination.filename().string() + ".vextools-XXXXXX")).string();
    const int tmpFd = ::mkstemp(pattern.data());
    if (tmpFd < 0) return Fail(error, source, destination, ErrnoText(errno));
    TempFile tmp(tmpFd, pattern);

    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(error, source, destination, ErrnoText(errno));
        }
        if (!WriteAll(tmp.fd(), buffer, static_cast<size_t>(n)))
            return Fail(error, source, destination, ErrnoText(errno));
    }
    // The copy keeps what the file's own properties say: its permissions and its modification time.
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::fchmod(tmp.fd(), st.st_mode & 07777) != 0 || ::futimens(tmp.fd(), times) != 0 ||
        ::fsync(tmp.fd()) != 0)
        return Fail(error, source, destination, ErrnoText(errno));
    if (!tmp.Close()) return Fail(error, source, destination, ErrnoText(errno));
    if (::rename(tmp.path().c_str(), destination.c_str()) != 0)
        return Fail(error, source, destination, ErrnoText(errno));
    tmp.Release();
    return true;
}

}  // namespace vex::backup
