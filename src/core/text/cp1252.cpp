#include "text/cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vex::text {
namespace {

// Unicode code points of bytes 0x80..0x9F; the five holes map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ToCodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHigh[b - 0x80];
    return b;
}

// The byte that holds `cp`, or -1.
int FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when the bytes there are not valid UTF-8.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) return 0;
    if (len == 1) {
        cp = b0;
        return 1;
    }
    cp = b0 & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Reject overlong forms so that a stray Windows-1252 pair is never read as something else.
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF) return 0;
    return len;
}

constexpr unsigned char LowerByte(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 32);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<unsigned char>(b + 16);  // Š Œ Ž
    if (b == 0x9F) return 0xFF;                                                          // Ÿ
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 32);  // À..Þ but ×
    return b;
}

// Every byte's lower case, looked up rather than worked out: the marker and keyword searches compare
// every byte of every line.
constexpr auto kLower = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<size_t>(b)] = LowerByte(static_cast<unsigned char>(b));
    return t;
}();

inline unsigned char Low(char c) { return kLower[static_cast<unsigned char>(c)]; }

// True for the bytes that no other byte lower-cases to (digits, punctuation such as the `%` that opens
// the default markers): a search for one of them is a search for that byte alone.
constexpr auto kCaseless = [] {
    std::array<bool, 256> t{};
    for (int b = 0; b < 256; ++b) {
        t[static_cast<size_t>(b)] = kLower[static_cast<size_t>(b)] == b;
        for (int o = 0; o < 256; ++o)
            if (o != b && kLower[static_cast<size_t>(o)] == b) t[static_cast<size_t>(b)] = false;
    }
    return t;
}();

}  // namespace

char LowerChar(char c) { return static_cast<char>(Low(c)); }

char UpperChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
    if (b == 0xFF) return static_cast<char>(0x9F);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    return c;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = LowerChar(c);
    return out;
}

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Low(a[i]) != Low(b[i])) return false;
    return true;
}

bool IStartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && IEquals(s.substr(0, prefix.size()), prefix);
}

size_t IFind(std::string_view hay, std::string_view needle, size_t from) {
    if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
    if (needle.size() > hay.size()) return std::string_view::npos;
    const unsigned char first = Low(needle[0]);
    const size_t n = needle.size(), last = hay.size() - n;
    auto matchesAt = [&](size_t i) {
        size_t k = 0;
        while (k < n && Low(hay[i + k]) == Low(needle[k])) ++k;
        return k == n;
    };
    // The byte memchr looks for: the needle's first that no other byte lower-cases to, blanks passed
    // over where another will do (code is full of blanks, and the default NoErrorKey starts with one).
    size_t anchor = n;
    for (size_t k = 0; k < n && anchor == n; ++k)
        if (kCaseless[static_cast<unsigned char>(needle[k])] && needle[k] != ' ') anchor = k;
    if (anchor == n && kCaseless[first]) anchor = 0;
    if (anchor < n) {
        // Most lines do not hold that byte at all; memchr finds that out fastest.
        const char byte = needle[anchor];
        for (size_t i = from; i <= last; ++i) {
            const void* at = std::memchr(hay.data() + i + anchor, byte, last - i + 1);
            if (!at) break;
            i = static_cast<size_t>(static_cast<const char*>(at) - hay.data()) - anchor;
            if (matchesAt(i)) return i;
        }
        return std::string_view::npos;
    }
    for (size_t i = from; i <= last; ++i)
        if (Low(hay[i]) == first && matchesAt(i)) return i;
    return std::string_view::npos;
}

std::string ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string FromUtf8(std::string_view utf8, bool* lossy) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            out += utf8[i++];
            continue;
        }
        const int b = FromCodePoint(cp);
        if (b < 0) {
            out += '?';
            if (lossy) *lossy = true;
        } else {
            out += static_cast<char>(b);
        }
        i += len;
    }
    return out;
}

std::string_view LTrim(std::string_view s) {
    const size_t p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string_view() : s.substr(p);
}

std::string_view RTrim(std::string_view s) {
    const size_t p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string_view() : s.substr(0, p + 1);
}

std::string_view Trim(std::string_view s) { return RTrim(LTrim(s)); }

}  // namespace vex::text
