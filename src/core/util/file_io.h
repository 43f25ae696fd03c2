#pragma once
// Reading and writing whole files. Failures raise errors::RuntimeError with the path and the reason.

#include <filesystem>
#include <string>
#include <string_view>

namespace vex::util {

/// The file's bytes. Error 53 when it does not exist, 75 when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

/// Replaces (or creates) `path` with `bytes` atomically: the bytes go to a temporary file in the same
/// folder, which is then renamed over `path`. An existing file's permission bits are kept. On failure
/// the temporary file is removed and `path` is untouched.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

/// The path as UTF-8 text for messages.
std::string Display(const std::filesystem::path& path);

}  // namespace vex::util
