// Windows: LockFileEx on the lock file, which the system releases when the handle closes.
#include <windows.h>

#include "errors/runtime_error.h"
#include "host/paths.h"
#include "host/win32_text.h"
#include "ini/locked_file.h"
#include "util/file_io.h"

namespace vex::ini {
namespace fs = std::filesystem;

FileLock::FileLock(const fs::path& path) {
    const fs::path lockPath = LockFileFor(path);
    HANDLE h = ::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN, nullptr);
    DWORD err = ::GetLastError();
    if (h != INVALID_HANDLE_VALUE) {
        OVERLAPPED whole{};
        if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
            handle_ = h;
            RemoveLegacyLockFile(path);
            return;
        }
        err = ::GetLastError();
        ::CloseHandle(h);
    }
    throw errors::RuntimeError(errors::code::kPathFileAccess,
                               util::Display(lockPath) + ": cannot lock: " + host::win32::ErrorText(err));
}

FileLock::~FileLock() {
    if (handle_) ::CloseHandle(handle_);  // closing releases the lock
}

}  // namespace vex::ini
