#pragma once
// Text rules of Windows-1252 code: case mapping, case-insensitive comparison, and conversion to and from
// UTF-8. Module text is kept as Windows-1252 bytes everywhere; exact comparisons are byte comparisons.

#include <array>
#include <string>
#include <string_view>

namespace vex::text {

/// Lower-cases one Windows-1252 byte (A-Z, and the accented capitals: É becomes é).
char LowerChar(char c);
/// Upper-cases one Windows-1252 byte.
char UpperChar(char c);

/// `s` lower-cased byte by byte with Windows-1252 rules.
std::string Lower(std::string_view s);

/// Equal when lower-cased with Windows-1252 rules.
bool IEquals(std::string_view a, std::string_view b);

/// True when `s` begins with `prefix`, compared without regard to case.
bool IStartsWith(std::string_view s, std::string_view prefix);

/// The ASCII letter `c` lower-cased, for the per-byte scans that look for ASCII words: `| 0x20` folds
/// a letter's case and maps no other byte onto a letter. (No Windows-1252 letter lower-cases to ASCII.)
inline char FoldAscii(char c) { return static_cast<char>(c | 0x20); }

/// IStartsWith(s.substr(at), word) for a `word` of lower-case ASCII letters, inline.
inline bool WordAt(std::string_view s, size_t at, std::string_view word) {
    if (s.size() - at < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (FoldAscii(s[at + k]) != word[k]) return false;
    return true;
}

/// A byte of an ASCII word, as the quick scans below see words: an ASCII letter or `_`.
constexpr bool IsAsciiWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

/// True when some word of `s` starts at a position `found(i)` accepts; `found` is called at each start
/// in order until it accepts. For the quick scans that look for ASCII words before a full reading: a
/// word starts at an IsAsciiWordByte byte after any other byte, so a digit or an accented letter before it
/// still counts as a start (finding too much only costs the full reading).
template <class Found>
bool AnyWordStart(std::string_view s, Found found) {
    // Two tight loops, over the bytes between words and over a word's: a table lookup per byte.
    static constexpr auto kWordByte = [] {
        std::array<bool, 256> t{};
        for (size_t c = 0; c < t.size(); ++c) t[c] = IsAsciiWordByte(static_cast<char>(c));
        return t;
    }();
    auto word = [&](size_t i) { return kWordByte[static_cast<unsigned char>(s[i])]; };
    for (size_t i = 0, n = s.size(); i < n;) {
        while (i < n && !word(i)) ++i;
        if (i == n) break;
        if (found(i)) return true;
        while (i < n && word(i)) ++i;
    }
    return false;
}

/// Position of the first occurrence of `needle` in `hay`, compared without regard to case; npos if none.
size_t IFind(std::string_view hay, std::string_view needle, size_t from = 0);

/// Converts Windows-1252 bytes to UTF-8. Bytes the code page leaves undefined map to the C1 control of
/// the same value, as Windows does, so every byte string converts and converts back unchanged.
std::string ToUtf8(std::string_view cp1252);

/// Converts UTF-8 text to Windows-1252. A character the code page cannot hold becomes "?" and `lossy`
/// (when given) is set. Invalid UTF-8 bytes are taken as Windows-1252 bytes as they stand.
std::string FromUtf8(std::string_view utf8, bool* lossy = nullptr);

/// Blanks (spaces only) removed at both ends / at the start / at the end, as VB's Trim, LTrim, RTrim.
std::string_view Trim(std::string_view s);
std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);

}  // namespace vex::text
