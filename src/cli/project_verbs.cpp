#include <CLI/CLI.hpp>

#include "cli/verbs.h"

namespace vex::cli {

void RegisterProjectVerbs(CLI::App&, VerbContext&) {}

}  // namespace vex::cli
