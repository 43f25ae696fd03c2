#pragma once
// What the tests need to know about the platform they run on, in one place.

#include <gtest/gtest.h>

#include <string>

#include <cstdlib>
#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vex::testing {

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

/// Skips the rest of a test that needs something only POSIX systems have (a shell, symbolic links,
/// permission bits that stop the owner), saying why.
#define VEX_SKIP_ON_WINDOWS(why) \
    if (::vex::testing::kWindows) GTEST_SKIP() << "not on Windows: " << why

/// Sets (or with a null value, removes) an environment variable of this process. Values are UTF-8.
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    auto wide = [](const char* s) {
        std::wstring w(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0)), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), static_cast<int>(w.size()));
        w.pop_back();
        return w;
    };
    ::_wputenv_s(wide(name).c_str(), value ? wide(value).c_str() : L"");
#else
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
}

}  // namespace vex::testing
