#pragma once
// Each verb family adds its subcommands to the application; the callbacks report through the context.

#include "cli/app.h"

namespace vex::cli {

void RegisterProjectVerbs(CLI::App& app, VerbContext& ctx);    // list, procs, show
void RegisterOptionsVerbs(CLI::App& app, VerbContext& ctx);    // options list|get|set|reset
void RegisterNumberingVerbs(CLI::App& app, VerbContext& ctx);  // number, unnumber, delete-lines
void RegisterHandlerVerbs(CLI::App& app, VerbContext& ctx);    // add-handlers, remove-handlers, indent
void RegisterBackupVerbs(CLI::App& app, VerbContext& ctx);     // backup

}  // namespace vex::cli
