#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "errors/runtime_error.h"
#include "text/cp1252.h"
#include "util/parallel.h"
#include "util/save_probe.h"
#include "util/temporary_files.h"

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

namespace {

/// Hands the file's bytes to `take` a chunk at a time, until the end or until `take` returns false.
template <class Take>
void ReadChunks(const std::filesystem::path& path, Take take) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno == ENOENT ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot open", errno);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            Fail(errors::code::kPathFileAccess, path, "cannot read", err);
        }
        if (n == 0 || !take(std::string_view(buffer, static_cast<size_t>(n)))) break;
    }
    ::close(fd);
}

}  // namespace

std::string ReadFile(const std::filesystem::path& path) {
    std::string bytes;
    ReadChunks(path, [&](std::string_view chunk) {
        bytes.append(chunk);
        return true;
    });
    return bytes;
}

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        Fail(errno == ENOENT ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot read", errno);
    return {static_cast<unsigned>(st.st_mode & 07777), st.st_mtim};
}

bool IsReadOnly(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool FileHolds(const std::filesystem::path& path, std::string_view bytes) {
    size_t at = 0;
    bool same = true;
    ReadChunks(path, [&](std::string_view chunk) {
        same = at + chunk.size() <= bytes.size() && std::memcmp(chunk.data(), bytes.data() + at, chunk.size()) == 0;
        at += chunk.size();
        return same;
    });
    return same && at == bytes.size();
}

namespace {

// A temporary file beside its target, written but not yet flushed, closed nor renamed.
struct Staged {
    std::filesystem::path target;
    std::string temp;
    int fd = -1;
};

void Discard(Staged& s) {
    if (s.fd >= 0) ::close(s.fd);
    s.fd = -1;
    if (!s.temp.empty()) ::unlink(s.temp.c_str());
    s.temp.clear();
}

// Creates the temporary file and writes `bytes` to it; the file stays open for the flush. Throws with the
// temporary file removed.
Staged Stage(const std::filesystem::path& link, std::string_view bytes, const std::optional<FileStamp>& stamp) {
    // A symbolic link stays a link: its target is the file replaced.
    std::error_code ec;
    const bool isLink = std::filesystem::is_symlink(link, ec);
    ec.clear();
    const auto path = isLink ? std::filesystem::canonical(link, ec) : link;
    if (ec) Fail(errors::code::kPathFileAccess, link, "cannot follow the link", ec.value());
    const auto dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    RemoveStaleTemporariesOnce(dir);
    Staged s{path, TemporaryPrefix(path).string() + "XXXXXX", -1};
    s.fd = ::mkstemp(s.temp.data());
    if (s.fd < 0) {
        s.temp.clear();
        Fail(errors::code::kPermissionDenied, path, "cannot create a temporary file beside it", errno);
    }
    auto abandon = [&](const char* what) {
        const int err = errno;
        Discard(s);
        Fail(errors::code::kPathFileAccess, path, what, err);
    };
    // Keep the owner and group where we may; a file we own but whose group we are not in keeps ours.
    if (struct stat st {}; ::stat(path.c_str(), &st) == 0) (void)!::fchown(s.fd, st.st_uid, st.st_gid);
    if (::fchmod(s.fd, stamp ? static_cast<mode_t>(stamp->mode) : ModeFor(path)) != 0) abandon("cannot set permissions");
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(s.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon("cannot write");
        }
        done += static_cast<size_t>(n);
    }
    if (stamp) {
        const struct timespec times[2] = {stamp->modified, stamp->modified};
        if (::futimens(s.fd, times) != 0) abandon("cannot set the modification time");
    }
    if (const int injected = ProbeSave(SaveStep::Written, path)) {
        errno = injected;
        abandon("cannot write");
    }
    // Start writing back now, so that the flushes of a batch overlap instead of queueing one by one.
    ::sync_file_range(s.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    return s;
}

// Flushes and closes every staged file; returns each one's errno (0 when flushed and closed). The
// flushes run together: each fsync waits for the disk to confirm, and the block layer merges the cache
// flushes in flight at one time, so a batch of files takes a few flushes' time instead of one per file.
std::vector<int> FlushAll(std::vector<Staged>& staged) {
    std::vector<int> errs(staged.size(), 0);
    constexpr size_t kFlushers = 32;
    ForEachIndex(staged.size(), kFlushers, [&](size_t k) {
        Staged& s = staged[k];
        if (::fsync(s.fd) != 0 || ::close(std::exchange(s.fd, -1)) != 0) errs[k] = errno;
    });
    return errs;
}

// Flushes and closes every staged file, then renames each over its target, in order.
void Commit(std::vector<Staged>& staged, size_t* renamed) {
    const std::vector<int> flushed = FlushAll(staged);
    for (size_t k = 0; k < staged.size(); ++k) {
        Staged& s = staged[k];
        const int err = flushed[k] != 0 ? flushed[k] : ProbeSave(SaveStep::Flushed, s.target);
        if (err != 0) {
            const auto target = s.target;
            for (auto& other : staged) Discard(other);
            Fail(errors::code::kPathFileAccess, target, "cannot flush", err);
        }
    }
    for (size_t k = 0; k < staged.size(); ++k) {
        int err = ProbeSave(SaveStep::BeforeRename, staged[k].target);
        if (err == 0 && ::rename(staged[k].temp.c_str(), staged[k].target.c_str()) != 0) err = errno;
        if (err != 0) {
            const auto target = staged[k].target;
            for (size_t j = k; j < staged.size(); ++j) Discard(staged[j]);
            Fail(errors::code::kPathFileAccess, target, "cannot replace", err);
        }
        staged[k].temp.clear();
        if (renamed) ++*renamed;
        ProbeSave(SaveStep::Renamed, staged[k].target);
    }
}

}  // namespace

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, const std::optional<FileStamp>& stamp) {
    std::vector<Staged> staged;
    staged.push_back(Stage(path, bytes, stamp));
    Commit(staged, nullptr);
}

void WriteFilesAtomic(const std::vector<FileWrite>& files, size_t* renamed) {
    std::vector<Staged> staged;
    staged.reserve(files.size());
    try {
        for (const auto& f : files) staged.push_back(Stage(f.path, f.bytes, std::nullopt));
    } catch (...) {
        for (auto& s : staged) Discard(s);
        throw;
    }
    Commit(staged, renamed);
}

}  // namespace vex::util
