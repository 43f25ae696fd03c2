#include "engine/vb_number.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "errors/runtime_error.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanksAndTabs(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<double> ParseRadix(std::string_view digits, int radix) {
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    unsigned long long v = 0;
    for (char c : digits) {
        int d;
        if (IsDigit(c)) d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        if (d >= radix) return std::nullopt;
        v = v * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
    }
    return static_cast<double>(v);
}

/// The value of a numeric text, or nothing.
std::optional<double> Parse(std::string_view s) {
    s = TrimBlanksAndTabs(s);
    if (s.size() > 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ParseRadix(s.substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return ParseRadix(s.substr(2), 8);
        return std::nullopt;
    }
    std::string normal;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal += s[i++];
    while (i < s.size() && s[i] == ' ') ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) normal += s[i++], ++digits;
    if (i < s.size() && s[i] == '.') {
        normal += s[i++];
        while (i < s.size() && IsDigit(s[i])) normal += s[i++], ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        normal += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal += s[i++];
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) normal += s[i++], ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    return std::strtod(normal.c_str(), nullptr);
}

errors::RuntimeError TypeMismatch() { return errors::RuntimeError(errors::code::kTypeMismatch, "Type mismatch"); }

}  // namespace

bool IsNumeric(std::string_view s) { return Parse(s).has_value(); }

int32_t ToLong(std::string_view s) {
    auto v = Parse(s);
    if (!v) throw TypeMismatch();
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);  // halves to the even neighbour
    const double r = std::nearbyint(*v);
    std::fesetround(saved);
    if (!(r >= INT32_MIN && r <= INT32_MAX)) throw errors::Overflow();
    return static_cast<int32_t>(r);
}

bool ToBoolean(std::string_view s) {
    auto v = Parse(s);
    if (!v) throw TypeMismatch();
    return *v != 0.0;
}

}  // namespace vex::engine
