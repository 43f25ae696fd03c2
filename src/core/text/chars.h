#pragma once
// The two character classes every text rule of the system shares.

namespace vex::text {

/// A blank between words: space or tab.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/// An ASCII decimal digit.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace vex::text
