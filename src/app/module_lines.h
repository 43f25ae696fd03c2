#pragma once
// Brings a code module's lines to a new list of lines with the fewest module operations, so that the
// lines a user did not touch keep the bytes they were loaded with.

#include <string>
#include <vector>

#include "ide/code_module.h"

namespace vex::app {

/// The module's visible lines, from 1 to CountOfLines.
std::vector<std::string> ModuleLines(const ide::CodeModule& module);

/// Replaces the lines between the common head and the common tail of the module's lines and `lines`.
/// A module without lines and the single empty line of an empty editor count as the same text.
void SetModuleLines(ide::CodeModule& module, const std::vector<std::string>& lines);

}  // namespace vex::app
