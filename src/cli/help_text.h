#pragma once
// The parts of --help that every verb shares: the global options, the exit codes and one example.

namespace CLI {
class App;
}

namespace vex::cli {

/// What `vextools --help` says first.
extern const char* const kAppDescription;

/// Gives every verb of `app` (and the verbs under it) a footer: the global options of `app`, the exit
/// codes and the verb's example. Call once every verb and global option is added.
void AddHelpFooters(CLI::App& app);

}  // namespace vex::cli
