#pragma once
// What stands behind a message box: the host decides how to ask, the engine only reads the answer code.

#include <string>

namespace vex::errors {

/// Message box styles (VB's values; they add up).
namespace style {
inline constexpr int kOkOnly = 0;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kRetryCancel = 5;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton2 = 256;
}  // namespace style

/// Message box answers (VB's values).
namespace answer {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
}  // namespace answer

/// One question or notice for the user. Texts are UTF-8.
struct Message {
    std::string text;
    std::string title;  ///< empty: the application's title
    int style = style::kOkOnly;
};

/// Shows a message and returns the button the user chose (an `answer::` code).
/// Messages with only an OK button return `answer::kOk`.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual int MsgBox(const Message& message) = 0;
};

}  // namespace vex::errors
