#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "errors/runtime_error.h"
#include "text/cp1252.h"

namespace vex::util {
namespace {

[[noreturn]] void Fail(int number, const std::filesystem::path& path, const std::string& what, int err) {
    throw errors::RuntimeError(number, Display(path) + ": " + what + ": " + std::strerror(err));
}

// The permission bits a rewritten file keeps: its own, or for a new file what the umask allows.
mode_t ModeFor(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string Display(const std::filesystem::path& path) {
    // File names on disk may be Windows-1252 bytes; show them readably either way.
    return text::ToUtf8(text::FromUtf8(path.string()));
}

std::string ReadFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno == ENOENT ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot open", errno);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            Fail(errors::code::kPathFileAccess, path, "cannot read", err);
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        Fail(errno == ENOENT ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot read", errno);
    return {static_cast<unsigned>(st.st_mode & 07777), st.st_mtim};
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, const std::optional<FileStamp>& stamp) {
    const auto dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string temp = (dir / ("." + path.filename().string() + ".vextools-XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) Fail(errors::code::kPermissionDenied, path, "cannot create a temporary file beside it", errno);

    auto abandon = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        Fail(errors::code::kPathFileAccess, path, what, err);
    };
    if (::fchmod(fd, stamp ? static_cast<mode_t>(stamp->mode) : ModeFor(path)) != 0) abandon("cannot set permissions");
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon("cannot write");
        }
        done += static_cast<size_t>(n);
    }
    if (stamp) {
        const struct timespec times[2] = {stamp->modified, stamp->modified};
        if (::futimens(fd, times) != 0) abandon("cannot set the modification time");
    }
    if (::fsync(fd) != 0) abandon("cannot flush");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        Fail(errors::code::kPathFileAccess, path, "cannot close", err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        Fail(errors::code::kPathFileAccess, path, "cannot replace", err);
    }
}

}  // namespace vex::util
