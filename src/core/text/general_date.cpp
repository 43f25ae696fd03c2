#include "text/general_date.h"

#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string_view>

namespace vex::text {
namespace {

// The locale name the environment gives for times, or "" for the C locale.
std::string TimeLocaleName() {
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            const std::string_view name(v);
            if (name == "C" || name == "POSIX" || name.substr(0, 2) == "C.") return {};
            return std::string(name);
        }
    }
    return {};
}

}  // namespace

std::string GeneralDate(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);

    std::ostringstream out;
    const std::string name = TimeLocaleName();
    if (!name.empty()) {
        try {
            out.imbue(std::locale(std::locale::classic(), name.c_str(), std::locale::time));
            out << std::put_time(&local, "%x %X");
            return std::move(out).str();
        } catch (const std::runtime_error&) {
            // Not installed: fall through to the fixed format.
            out.str({});
            out.imbue(std::locale::classic());
        }
    }
    out << std::put_time(&local, "%d/%m/%Y %H:%M:%S");
    return std::move(out).str();
}

}  // namespace vex::text
