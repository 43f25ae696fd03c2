#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "cli/console.h"
#include "host/win32_text.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace vex::cli {
namespace {

std::wstring Decode(std::string_view line) {
    if (line.empty()) return {};
    const int size = static_cast<int>(line.size());
    int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), size, nullptr, 0);
    UINT codePage = CP_UTF8;
    if (n == 0) {
        codePage = 1252;
        n = ::MultiByteToWideChar(codePage, 0, line.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, line.data(), size, wide.data(), n);
    return wide;
}

// Writes whole lines to a console, in its output code page.
class ConsoleBuf : public std::streambuf {
public:
    explicit ConsoleBuf(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (c == '\n') Flush();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<size_t>(n));
        if (pending_.find('\n') != std::string::npos) Flush();
        return n;
    }
    int sync() override {
        Flush();
        return 0;
    }

private:
    void Flush() {
        const std::wstring wide = ConsoleText(pending_);
        pending_.clear();
        if (wide.empty()) return;
        const UINT cp = ::GetConsoleOutputCP();
        const int n =
            ::WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<size_t>(n), '\0');
        ::WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
        DWORD wrote = 0;
        ::WriteFile(console_, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    }

    HANDLE console_;
    std::string pending_;
};

void Prepare(std::ostream& stream, FILE* file, DWORD handleId) {
    std::fflush(file);
    const HANDLE h = ::GetStdHandle(handleId);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && h != nullptr && ::GetConsoleMode(h, &mode)) {
        // Colour and line erasing are ANSI escapes; consoles that cannot take them count as no terminal.
        ::SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        static ConsoleBuf* bufs[2] = {};
        ConsoleBuf*& buf = bufs[handleId == STD_OUTPUT_HANDLE ? 0 : 1];
        buf = new ConsoleBuf(h);  // lives as long as the stream
        stream.rdbuf(buf);
        return;
    }
    // A file or a pipe: the bytes as written, "\n" not turned into "\r\n".
    ::_setmode(::_fileno(file), _O_BINARY);
}

bool Escapes(DWORD handleId) {
    const HANDLE h = ::GetStdHandle(handleId);
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && h != nullptr && ::GetConsoleMode(h, &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace

bool StdoutIsTerminal() { return Escapes(STD_OUTPUT_HANDLE); }
bool StderrIsTerminal() { return Escapes(STD_ERROR_HANDLE); }

std::wstring ConsoleText(std::string_view bytes) {
    std::wstring wide;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        wide += Decode(bytes.substr(start, end - start));
        start = end;
    }
    return wide;
}

std::vector<std::string> StartConsole(int argc, char** argv) {
    Prepare(std::cout, stdout, STD_OUTPUT_HANDLE);
    Prepare(std::cerr, stderr, STD_ERROR_HANDLE);
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> args;
    args.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) args.push_back(host::win32::Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

}  // namespace vex::cli
