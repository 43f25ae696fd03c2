#include <windows.h>

#include "util/temporary_files.h"

namespace vex::util {

long CurrentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool ProcessRunning(long pid) {
    if (pid <= 0) return true;  // not a process we could have been
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h) return ::GetLastError() != ERROR_INVALID_PARAMETER;  // no such process; any other answer: maybe
    DWORD code = 0;
    const bool running = !::GetExitCodeProcess(h, &code) || code == STILL_ACTIVE;
    ::CloseHandle(h);
    return running;
}

}  // namespace vex::util
