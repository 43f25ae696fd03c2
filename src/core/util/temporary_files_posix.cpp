#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "util/temporary_files.h"

namespace vex::util {

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessRunning(long pid) {
    if (pid <= 0) return true;  // not a process we could have been
    // EPERM: it runs, under another user.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace vex::util
