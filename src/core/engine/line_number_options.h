#pragma once
// The options a numbering pass reads from the settings store when it starts.

#include <cstdint>
#include <string>

namespace vex::settings {
class SettingsStore;
}

#include "host/notices.h"

namespace vex::engine {



struct LineNumberOptions {
    int32_t lineJump = 10;           ///< LineJump: the step between numbers
    bool resetLineNumber = true;     ///< ResetLineNumber: numbering starts again in each procedure
    std::string errorKey = "%Manage Error%";  ///< ErrorKey, as Windows-1252 bytes (strErrorKey)
};

/// Reads LineJump, ResetLineNumber and ErrorKey (defaults 10, 1, "%Manage Error%"). A stored number that
/// does not convert raises RuntimeError 13 (6 when out of range). An ErrorKey character that code cannot
/// hold is told to `notices`.
LineNumberOptions ReadLineNumberOptions(const settings::SettingsStore& store, host::Notices* notices = nullptr);

}  // namespace vex::engine
