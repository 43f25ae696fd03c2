// Windows: the wide-character API, so that names reach the file system exactly as it spells them.
#include <windows.h>

#include <cstring>
#include <random>
#include <utility>

#include "errors/runtime_error.h"
#include "host/paths.h"
#include "host/win32_text.h"
#include "util/file_io.h"
#include "util/save_probe.h"
#include "util/temporary_files.h"

namespace vex::util {
namespace {

[[noreturn]] void Fail(int number, const std::filesystem::path& path, const std::string& what, DWORD err) {
    throw errors::RuntimeError(number, Display(path) + ": " + what + ": " + host::win32::ErrorText(err));
}

bool IsMissing(DWORD err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// A file refused because of its read-only attribute or because another program holds it open.
bool IsRefusal(DWORD err) {
    return err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION ||
           err == ERROR_USER_MAPPED_FILE;
}

// An open handle closed on every way out.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(h_, other.h_);
        return *this;
    }
    ~Handle() { Close(); }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() { return !Valid() || ::CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)); }

private:
    HANDLE h_;
};

Handle OpenForReading(const std::filesystem::path& path) {
    Handle h(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.Valid()) {
        const DWORD err = ::GetLastError();
        Fail(IsMissing(err) ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot open", err);
    }
    return h;
}

// Reads into `buffer`; 0 at the end of the file.
size_t ReadSome(const Handle& h, const std::filesystem::path& path, char* buffer, DWORD size) {
    DWORD got = 0;
    if (!::ReadFile(h.Get(), buffer, size, &got, nullptr))
        Fail(errors::code::kPathFileAccess, path, "cannot read", ::GetLastError());
    return got;
}

// FILETIME counts 100 ns steps since 1601; timespec counts from 1970.
constexpr unsigned long long kEpochDifference = 116444736000000000ULL;

timespec ToTimespec(FILETIME ft) {
    const unsigned long long t = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const unsigned long long since1970 = t - kEpochDifference;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(since1970 / 10000000ULL);
    ts.tv_nsec = static_cast<long>((since1970 % 10000000ULL) * 100);
    return ts;
}

FILETIME ToFiletime(const timespec& ts) {
    const unsigned long long t = static_cast<unsigned long long>(ts.tv_sec) * 10000000ULL +
                                 static_cast<unsigned long long>(ts.tv_nsec) / 100 + kEpochDifference;
    return {static_cast<DWORD>(t & 0xffffffffULL), static_cast<DWORD>(t >> 32)};
}

// A temporary file beside its target, written but not yet flushed, closed nor renamed.
struct Staged {
    std::filesystem::path target;
    std::filesystem::path temp;
    Handle file;
};

void Discard(Staged& s) {
    s.file.Close();
    if (!s.temp.empty()) ::DeleteFileW(s.temp.c_str());
    s.temp.clear();
}

Staged Stage(const std::filesystem::path& link, std::string_view bytes, const std::optional<FileStamp>& stamp) {
    // A symbolic link stays a link: its target is the file replaced.
    std::error_code ec;
    const bool isLink = std::filesystem::is_symlink(link, ec);
    ec.clear();
    const auto path = isLink ? std::filesystem::canonical(link, ec) : link;
    if (ec)
        throw errors::RuntimeError(errors::code::kPathFileAccess,
                                   Display(link) + ": cannot follow the link: " + ec.message());
    const auto dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    static std::mt19937_64 random{std::random_device{}() ^ static_cast<unsigned long long>(::GetTickCount64())};
    RemoveStaleTemporariesOnce(dir);
    Staged s{path, {}, Handle()};
    DWORD err = 0;
    for (int attempt = 0; attempt < 100 && !s.file.Valid(); ++attempt) {
        s.temp = TemporaryPrefix(path);
        s.temp += std::to_wstring(random() % 1000000000ULL);
        s.file = Handle(
            ::CreateFileW(s.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        err = ::GetLastError();
        if (!s.file.Valid() && err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) break;
    }
    if (!s.file.Valid()) {
        s.temp.clear();
        Fail(errors::code::kPermissionDenied, path, "cannot create a temporary file beside it", err);
    }
    auto abandon = [&](const char* what) {
        const DWORD e = ::GetLastError();
        Discard(s);
        Fail(errors::code::kPathFileAccess, path, what, e);
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!::WriteFile(s.file.Get(), bytes.data() + done, chunk, &wrote, nullptr)) abandon("cannot write");
        done += wrote;
    }
    if (stamp) {
        const FILETIME modified = ToFiletime(stamp->modified);
        if (!::SetFileTime(s.file.Get(), nullptr, nullptr, &modified)) abandon("cannot set the modification time");
    }
    if (const int injected = ProbeSave(SaveStep::Written, path)) {
        ::SetLastError(static_cast<DWORD>(injected));
        abandon("cannot write");
    }
    return s;
}

// Renames the temporary file over the target with MoveFileExW(MOVEFILE_REPLACE_EXISTING), which the
// system does in one step. (ReplaceFileW would keep more of the old file, but where it fails it can leave
// its own temporary files behind.) As a rename on POSIX systems, this replaces a file whose read-only
// attribute is set (callers that must not do so check IsReadOnly first); a file another program holds
// open is refused, and a folder is never replaced.
bool Replace(const Staged& s) {
    const DWORD attributes = ::GetFileAttributesW(s.target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetLastError(ERROR_DIRECTORY);
        return false;
    }
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (attributes != INVALID_FILE_ATTRIBUTES)  // hidden, archive and the like stay as they were
        ::SetFileAttributesW(s.temp.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (readOnly) ::SetFileAttributesW(s.target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (::MoveFileExW(s.temp.c_str(), s.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD err = ::GetLastError();
    if (readOnly) ::SetFileAttributesW(s.target.c_str(), attributes);
    ::SetLastError(err);
    return false;
}

// The read-only attribute of a copy follows the permission bits of its stamp; other files keep the
// attributes they had, read-only cleared.
void ApplyMode(const std::filesystem::path& file, const std::optional<FileStamp>& stamp) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    const bool readOnly = stamp && (stamp->mode & 0222) == 0;
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    if (wanted != attributes) ::SetFileAttributesW(file.c_str(), wanted);
}

}  // namespace

std::string Display(const std::filesystem::path& path) { return host::Utf8Path(path); }

std::string ReadFile(const std::filesystem::path& path) {
    const Handle h = OpenForReading(path);
    std::string bytes;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h.Get(), &size)) bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[1 << 16];
    while (const size_t n = ReadSome(h, path, buffer, sizeof buffer)) bytes.append(buffer, n);
    return bytes;
}

FileStamp StampOf(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD err = ::GetLastError();
        Fail(IsMissing(err) ? errors::code::kFileNotFound : errors::code::kPathFileAccess, path, "cannot read", err);
    }
    const unsigned mode = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444u : 0666u;
    return {mode, ToTimespec(data.ftLastWriteTime)};
}

bool FileHolds(const std::filesystem::path& path, std::string_view bytes) {
    const Handle h = OpenForReading(path);
    char buffer[1 << 16];
    size_t at = 0;
    bool same = true;
    while (same) {
        const size_t got = ReadSome(h, path, buffer, sizeof buffer);
        if (got == 0) break;
        same = at + got <= bytes.size() && std::memcmp(buffer, bytes.data() + at, got) == 0;
        at += got;
    }
    return same && at == bytes.size();
}

bool IsReadOnly(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_READONLY) return true;
    // Open for writing the way the replace will need it: a program holding the file without sharing it
    // (an editor, the VB6 IDE compiling) refuses this.
    Handle h(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !h.Valid() && IsRefusal(::GetLastError());
}

struct StagedFiles::Impl {
    std::vector<Staged> staged;
    std::vector<std::optional<FileStamp>> stamps;  ///< each file's, applied once it is in place
};

StagedFiles::StagedFiles() : impl_(std::make_unique<Impl>()) {}

StagedFiles::~StagedFiles() {
    for (auto& s : impl_->staged) Discard(s);
}

size_t StagedFiles::Count() const { return impl_->staged.size(); }

void StagedFiles::Write(const std::filesystem::path& path, std::string_view bytes,
                        const std::optional<FileStamp>& stamp) {
    impl_->staged.push_back(Stage(path, bytes, stamp));
    impl_->stamps.push_back(stamp);
}

// Handles are not scarce here: every file stays open until its flush.
void StagedFiles::Commit(size_t* renamed) {
    auto& staged = impl_->staged;
    const auto& stamps = impl_->stamps;
    for (size_t k = 0; k < staged.size(); ++k) {
        auto& s = staged[k];
        DWORD err = 0;
        if (!::FlushFileBuffers(s.file.Get()) || !s.file.Close()) err = ::GetLastError();
        else err = static_cast<DWORD>(ProbeSave(SaveStep::Flushed, s.target));
        if (err != 0) {
            const auto target = s.target;
            for (auto& other : staged) Discard(other);
            Fail(errors::code::kPathFileAccess, target, "cannot flush", err);
        }
    }
    for (size_t k = 0; k < staged.size(); ++k) {
        DWORD err = static_cast<DWORD>(ProbeSave(SaveStep::BeforeRename, staged[k].target));
        if (err == 0 && !Replace(staged[k])) err = ::GetLastError();
        if (err != 0) {
            const auto target = staged[k].target;
            for (size_t j = k; j < staged.size(); ++j) Discard(staged[j]);
            if (IsRefusal(err)) Fail(errors::code::kPermissionDenied, target, "file is read-only or in use", err);
            Fail(errors::code::kPathFileAccess, target, "cannot replace", err);
        }
        staged[k].temp.clear();
        ApplyMode(staged[k].target, stamps[k]);
        if (renamed) ++*renamed;
        ProbeSave(SaveStep::Renamed, staged[k].target);
    }
    staged.clear();
    impl_->stamps.clear();
}

}  // namespace vex::util
