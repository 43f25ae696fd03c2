#include "cli/console.h"

namespace vex::cli {

std::vector<std::string> StartConsole(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace vex::cli
