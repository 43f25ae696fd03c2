#pragma once
// Option keys and values as people type them on the command line.

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace vex::cli {

/// The option key `name` spells, letter case ignored; for a name that is no key, empty, with `problem`
/// set to a message naming the nearest keys (or every key when none is near).
std::string ResolveKey(std::string_view name, std::string& problem);

/// The shell cannot easily pass a line break: "\r\n" in a typed value stands for one.
std::string WithLineBreaks(std::string_view value);

/// Stores the value of one --set KEY=VALUE argument in `into` by the options dialog's rules (as
/// `options set` does). Returns what is wrong with the argument, or empty when it was stored.
std::string AddRunValue(std::string_view argument, settings::SettingsStore& into);

}  // namespace vex::cli
