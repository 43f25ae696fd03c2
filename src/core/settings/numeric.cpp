#include "settings/numeric.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "errors/runtime_error.h"
#include "text/chars.h"

namespace vex::settings {
namespace {

using text::IsBlank;
using text::IsDigit;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Checks the syntax of an already trimmed text.
bool IsNumberSyntax(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

// Roughly log10 of an unsigned number text that is beyond a double: positive for huge, negative for tiny.
long DecimalMagnitude(std::string_view s) {
    const size_t e = s.find_first_of("eE");
    long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view x = s.substr(e + 1);
        const bool neg = !x.empty() && x.front() == '-';
        if (!x.empty() && (x.front() == '+' || x.front() == '-')) x.remove_prefix(1);
        for (char c : x) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000L);
        if (neg) exponent = -exponent;
        s = s.substr(0, e);
    }
    const size_t point = s.find('.');
    const size_t intDigits = point == std::string_view::npos ? s.size() : point;
    const size_t firstNonZero = s.find_first_not_of("0.");
    if (firstNonZero == std::string_view::npos) return -1;  // zero
    const long position = firstNonZero < intDigits ? static_cast<long>(intDigits - firstNonZero)
                                                   : -static_cast<long>(firstNonZero - intDigits - 1);
    return position + exponent;
}

errors::RuntimeError TypeMismatch() { return errors::RuntimeError(errors::code::kTypeMismatch, "Type mismatch"); }

template <typename Int>
Int ToWhole(std::string_view text) {
    const auto number = ParseNumber(text);
    if (!number) {
        if (IsNumeric(text)) throw errors::Overflow();  // numeric but beyond a double
        throw TypeMismatch();
    }
    const double rounded = std::nearbyint(*number);  // the default rounding mode: halves to even
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw errors::Overflow();
    return static_cast<Int>(rounded);
}

}  // namespace

bool IsNumeric(std::string_view text) { return IsNumberSyntax(TrimBlanks(text)); }

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (!IsNumberSyntax(s)) return std::nullopt;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // from_chars wants a digit first and is independent of the C locale.
    std::string digits = s.front() == '.' ? "0" + std::string(s) : std::string(s);
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow is harmlessly zero; overflow has no value.
        if (DecimalMagnitude(digits) > 0) return std::nullopt;
        value = 0;
    } else if (ec != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

int16_t ToInt16(std::string_view text) { return ToWhole<int16_t>(text); }

int32_t ToLong32(std::string_view text) { return ToWhole<int32_t>(text); }

bool ToBoolean(std::string_view text) {
    const auto number = ParseNumber(text);
    if (!number) {
        if (IsNumeric(text)) return true;  // too large for a double, but certainly not zero
        throw TypeMismatch();
    }
    return *number != 0;
}

}  // namespace vex::settings
