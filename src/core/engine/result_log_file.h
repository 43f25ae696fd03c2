#pragma once
// Saving the result log: the whole text and a line break appended to a text file.

#include <filesystem>
#include <string_view>

namespace vex::engine {

/// Appends `text` followed by CR LF to `file`, creating it when missing; the file's old content stays.
/// Throws errors::RuntimeError naming the file when it cannot be opened or written.
void SaveResultLog(const std::filesystem::path& file, std::string_view text);

}  // namespace vex::engine
