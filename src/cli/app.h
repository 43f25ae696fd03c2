#pragma once
// The vextools command line: one verb per toolbar command, plus project inspection and options.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vex::cli {

/// Exit codes scripts can rely on.
namespace exit_code {
inline constexpr int kOk = 0;
inline constexpr int kChanges = 1;  ///< --check found files that would change
inline constexpr int kUsage = 2;    ///< bad command line
inline constexpr int kFailure = 3;  ///< unreadable input, failed save, aborted run
}  // namespace exit_code

/// Options every verb accepts, parsed before the verb runs.
struct GlobalOptions {
    std::optional<std::string> settingsFile;  ///< --settings FILE
    std::string onError;                      ///< --on-error ask|retry|ignore|abort ("" = default)
    std::vector<std::string> runValues;       ///< --set KEY=VALUE, each checked while parsing
    bool quiet = false;                       ///< -q/--quiet: no progress, no summary, no notes
};

/// What a verb's callback gets: the output streams and where to put its exit code.
struct VerbContext {
    std::ostream& out;
    std::ostream& err;
    GlobalOptions& global;
    int exitCode = exit_code::kOk;
    /// False when stdout carries something else (a --dry-run diff) or the run is --check or --log FILE:
    /// the result log of the handler verbs is then not printed.
    bool printResult = true;
};

/// Parses the command line, runs the verb and returns the process's exit code.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vex::cli
