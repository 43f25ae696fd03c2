#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "cli/console.h"

namespace vex::cli {
namespace {
bool IsTerminal(int fd) {
    const char* term = std::getenv("TERM");
    return ::isatty(fd) == 1 && !(term && std::strcmp(term, "dumb") == 0);
}
}  // namespace

std::vector<std::string> StartConsole(int argc, char** argv) { return {argv, argv + argc}; }

bool StdoutIsTerminal() { return IsTerminal(STDOUT_FILENO); }
bool StderrIsTerminal() { return IsTerminal(STDERR_FILENO); }

}  // namespace vex::cli
