#include "engine/run_head.h"

#include <string>

#include "engine/host.h"
#include "text/general_date.h"

namespace vex::engine {

void AppendRunHead(host::ResultLog& log, std::chrono::system_clock::time_point now, std::string_view title,
                   std::string_view rule) {
    log.Append("\r\n");
    log.Append("\r\n[" + text::GeneralDate(now) + "]");
    log.Append("\r\n" + std::string(title));
    log.Append("\r\n" + std::string(rule));
}

}  // namespace vex::engine
