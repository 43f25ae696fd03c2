#pragma once
// A run-time error as the engine sees it: a number, a description and a source, like VB's Err object.

#include <stdexcept>
#include <string>

namespace vex::errors {

/// Error numbers the engine and the project model raise (VB's own numbers where VB has one).
namespace code {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kSubOrFunctionNotDefined = 35;
inline constexpr int kInternal = 51;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
}  // namespace code

/// Thrown by any operation that fails at run time. `number` is never 0 for a thrown error.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description, std::string source = "VexTools")
        : std::runtime_error(description), number_(number), description_(std::move(description)),
          source_(std::move(source)) {}

    int Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

private:
    int number_;
    std::string description_;
    std::string source_;
};

/// VB's "Overflow" (6), raised when a value leaves its 16- or 32-bit range.
inline RuntimeError Overflow() { return RuntimeError(code::kOverflow, "Overflow"); }

}  // namespace vex::errors
