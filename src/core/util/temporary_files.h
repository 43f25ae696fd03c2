#pragma once
// The names of the temporary files an atomic save puts beside its target, and the sweep that removes
// those a stopped process (killed, powered off) left behind. Only names of our own pattern are touched:
// "." + target name + ".vextools-" + the process id + "-" + a unique part, and only when that process is
// no longer running.

#include <filesystem>
#include <optional>

namespace vex::util {

/// The start of the name of a temporary file for `target` made by this process, in `target`'s folder:
/// the caller appends a unique part.
std::filesystem::path TemporaryPrefix(const std::filesystem::path& target);

/// The process id in `name` when it is the name of one of our temporary files, else nothing.
std::optional<long> TemporaryOwner(const std::filesystem::path& name);

/// Removes from `folder` the temporary files of processes no longer running. Never throws; a file that
/// cannot be removed stays.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

/// RemoveStaleTemporaries, once per folder for the life of the process (savers call it before each save).
void RemoveStaleTemporariesOnce(const std::filesystem::path& folder);

/// This process's id.
long CurrentProcessId();

/// True when a process of id `pid` is running (or may be: when the system will not say).
bool ProcessRunning(long pid);

}  // namespace vex::util
