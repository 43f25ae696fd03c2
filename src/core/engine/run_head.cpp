#include "engine/run_head.h"

#include <ctime>
#include <string>

#include "engine/host.h"

namespace vex::engine {
namespace {

// Local general-date text (day/month/year hours:minutes:seconds, local time) until the shared one is in.
std::string LocalGeneralDate(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &tm);
    return buf;
}

}  // namespace

void AppendRunHead(ResultLog& log, std::chrono::system_clock::time_point now, std::string_view title,
                   std::string_view rule) {
    log.Append("\r\n");
    log.Append("\r\n[" + LocalGeneralDate(now) + "]");
    log.Append("\r\n" + std::string(title));
    log.Append("\r\n" + std::string(rule));
}

}  // namespace vex::engine
