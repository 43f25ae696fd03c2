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

/// A descriptor of `path` open for reading; throws naming the file when it cannot be opened.
int OpenForReading(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno == ENOENT ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot open", errno);
    return fd;
}

/// Hands the file's bytes to `take` a chunk at a time, until the end or until `take` returns false.
template <class Take>
void ReadChunks(const std::filesystem::path& path, Take take) {
    const int fd = OpenForReading(path);
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
    const int fd = OpenForReading(path);
    // Read straight into a string of the file's size: growing it chunk by chunk touched about twice
    // the memory, and fresh memory is what a large load pays most for.
    struct stat st {};
    std::string bytes;
    bytes.resize(::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : 1 << 16);
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() * 2);  // the file grew, or has no size
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            Fail(errors::code::kPathFileAccess, path, "cannot read", err);
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
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

/// A staged file that could not be flushed, and why.
struct FlushFailure {
    std::filesystem::path target;
    int err;
};

// Threads that flush, or let go of replaced files, at once.
constexpr size_t kFlushers = 32;

// Flushes and closes the staged files still open; returns the first that failed. The flushes run
// together: each fsync waits for the disk to confirm, and the block layer merges the cache flushes in
// flight at one time, so a batch of files takes a few flushes' time instead of one per file.
std::optional<FlushFailure> FlushOpen(std::vector<Staged>& staged) {
    std::vector<Staged*> open;
    for (auto& s : staged)
        if (s.fd >= 0) open.push_back(&s);
    std::vector<int> errs(open.size(), 0);
    ForEachIndex(open.size(), kFlushers, [&](size_t k) {
        Staged& s = *open[k];
        if (::fsync(s.fd) != 0 || ::close(std::exchange(s.fd, -1)) != 0) errs[k] = errno;
    });
    for (size_t k = 0; k < open.size(); ++k)
        if (errs[k] != 0) return FlushFailure{open[k]->target, errs[k]};
    return std::nullopt;
}

// Files held open at once before the earlier ones are flushed: well below the usual limit of 1,024
// descriptors a process may hold.
constexpr size_t kOpenAtOnce = 256;

// The files a batch of renames replaces, held open until the batch is done. Replacing a file frees the
// old one's blocks, and where the file system hands freed blocks back to the disk at once (ext4 mounted
// with `discard` and no journal) each rename waited for the disk in turn: most of the end of a save of
// hundreds of files. Held across its rename, an old file is freed when it is let go, and the batch is
// let go from several threads at once, so those waits overlap. A file that cannot be held is simply
// replaced as before.
class ReplacedFiles {
public:
    ReplacedFiles() { held_.reserve(kOpenAtOnce); }
    ~ReplacedFiles() { LetGo(); }
    ReplacedFiles(const ReplacedFiles&) = delete;
    ReplacedFiles& operator=(const ReplacedFiles&) = delete;

    /// Holds `target` (when it exists) until the next LetGo().
    void Hold(const std::filesystem::path& target) {
        if (held_.size() >= kOpenAtOnce) LetGo();
#ifdef O_PATH
        // O_PATH reads nothing and opens anything, a link or a pipe included, without side effects.
        if (const int fd = ::open(target.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC); fd >= 0) held_.push_back(fd);
#else
        (void)target;
#endif
    }

    void LetGo() {
        ForEachIndex(held_.size(), kFlushers, [&](size_t k) { ::close(held_[k]); });
        held_.clear();
    }

private:
    std::vector<int> held_;
};

}  // namespace

struct StagedFiles::Impl {
    std::vector<Staged> staged;
    size_t open = 0;
    std::optional<FlushFailure> failed;  ///< met while making room; Commit reports it

    [[noreturn]] void FailFlush(const FlushFailure& f) {
        for (auto& s : staged) Discard(s);
        Fail(errors::code::kPathFileAccess, f.target, "cannot flush", f.err);
    }
};

StagedFiles::StagedFiles() : impl_(std::make_unique<Impl>()) {}

StagedFiles::~StagedFiles() {
    for (auto& s : impl_->staged) Discard(s);
}

size_t StagedFiles::Count() const { return impl_->staged.size(); }

void StagedFiles::Write(const std::filesystem::path& path, std::string_view bytes,
                        const std::optional<FileStamp>& stamp) {
    auto& d = *impl_;
    d.staged.push_back(Stage(path, bytes, stamp));
    if (++d.open >= kOpenAtOnce) {
        if (auto failure = FlushOpen(d.staged); failure && !d.failed) d.failed = std::move(failure);
        d.open = 0;
    }
}

void StagedFiles::Commit(size_t* renamed) {
    auto& d = *impl_;
    auto& staged = d.staged;
    if (auto failure = FlushOpen(staged); failure && !d.failed) d.failed = std::move(failure);
    d.open = 0;
    if (d.failed) d.FailFlush(*d.failed);
    for (size_t k = 0; k < staged.size(); ++k)
        if (const int err = ProbeSave(SaveStep::Flushed, staged[k].target)) d.FailFlush({staged[k].target, err});
    ReplacedFiles replaced;
    for (size_t k = 0; k < staged.size(); ++k) {
        int err = ProbeSave(SaveStep::BeforeRename, staged[k].target);
        if (err == 0) replaced.Hold(staged[k].target);
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
    staged.clear();
}

}  // namespace vex::util
