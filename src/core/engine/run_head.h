#pragma once
// The head that each error-handler run writes into the result log.

#include <chrono>
#include <string_view>

#include "host/result_log.h"

namespace vex::engine {



/// Appends, as four pieces: CR LF; CR LF "[" date "]" (the general date text of `now`); CR LF `title`;
/// CR LF `rule`.
void AppendRunHead(host::ResultLog& log, std::chrono::system_clock::time_point now, std::string_view title,
                   std::string_view rule);

}  // namespace vex::engine
