#pragma once
// What stands behind a message box: the host decides how to ask, the caller only reads the answer.

#include <string>

namespace vex::host {

/// Message box styles (VB's values; they add up).
namespace style {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kRetryCancel = 5;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton2 = 256;
/// The button set of a style (its lowest digits).
inline constexpr int Buttons(int s) { return s & 7; }
}  // namespace style

/// The button the user chose. The underlying values are VB's, for the few places that store or show them.
enum class Answer : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

/// VB's number of an answer ("4" for Retry), as logs and messages show it.
inline int Code(Answer a) { return static_cast<int>(a); }

/// One question or notice for the user. Texts are UTF-8.
struct Message {
    std::string text;
    std::string title;  ///< empty: the application's title
    int style = style::kOkOnly;
};

/// Shows a message and returns the button the user chose. Messages with only an OK button return Ok.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer MsgBox(const Message& message) = 0;
};

}  // namespace vex::host
