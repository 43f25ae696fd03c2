#pragma once
// Each verb family adds its subcommands to the application; the callbacks report through the context.

#include "cli/app.h"

namespace vex::cli {

void RegisterProjectVerbs(CLI::App& app, VerbContext& ctx);  // list, procs, show
void RegisterBackupVerbs(CLI::App& app, VerbContext& ctx);   // backup

}  // namespace vex::cli
