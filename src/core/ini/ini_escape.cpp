#include "ini/ini_escape.h"
#include "text/chars.h"

namespace vex::ini {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& out, unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
}

int HexDigit(char c) {
    if (text::IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Escape(std::string_view text, bool name) {
    // Blanks at either end would be trimmed by the reader.
    size_t first = 0;
    while (first < text.size() && text[first] == ' ') ++first;
    size_t last = text.size();
    while (last > first && text[last - 1] == ' ') --last;

    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        switch (b) {
            case '\\': out += "\\\\"; continue;
            case '\r': out += "\\r"; continue;
            case '\n': out += "\\n"; continue;
            case '\t': out += "\\t"; continue;
            case ' ':
                out += (i < first || i >= last) ? "\\s" : " ";
                continue;
            default: break;
        }
        const bool special = b < 0x20 || b == 0x7F ||
                             (name && (b == '=' || b == '[' || b == ']' || b == ';' || b == '#' || b == '/'));
        if (special)
            AppendHex(out, b);
        else
            out += static_cast<char>(b);
    }
    return out;
}

}  // namespace

std::string EscapeValue(std::string_view value) { return Escape(value, false); }

std::string EscapeName(std::string_view name) { return Escape(name, true); }

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[i + 1];
        switch (c) {
            case '\\': out += '\\'; ++i; continue;
            case 'r': out += '\r'; ++i; continue;
            case 'n': out += '\n'; ++i; continue;
            case 't': out += '\t'; ++i; continue;
            case 's': out += ' '; ++i; continue;
            case 'x':
                if (i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
                    out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
                    i += 3;
                    continue;
                }
                break;
            default: break;
        }
        out += '\\';  // not an escape: a plain backslash
    }
    return out;
}

}  // namespace vex::ini
