#pragma once
// The options of the error-handler and indentation passes, in the module's code page (Windows-1252), as
// the engine compares them with code and writes them into it.

#include <cstdint>
#include <string>

namespace vex::settings {
class SettingsStore;
}

namespace vex::engine {

class Notices;

/// LoadOptions' module variables, converted to Windows-1252.
struct HandlerOptions {
    std::string strErrorKey;
    std::string strSeparatorLine;
    std::string strNoErrorKey;
    std::string strErrorCodeStart;
    std::string strErrorCodeClose;
    bool blnViewResult = false;
};

/// LoadOptions: reads ErrorKey, NoErrorKey, ErrorCodeStart, ErrorCodeClose and ViewResult (engine
/// defaults) into `out`, in that order, so that the values read before a failure stay set. A character the
/// code page cannot hold becomes "?" and is noticed. Throws errors::RuntimeError when ViewResult does
/// not convert to a Boolean.
void LoadHandlerOptions(const settings::SettingsStore& store, Notices& notices, HandlerOptions& out);

/// Tabulation and TabStart (default 4 each), as 16-bit whole numbers. Throws errors::RuntimeError
/// (type mismatch, overflow) when the stored text does not convert.
int16_t ReadTabulation(const settings::SettingsStore& store);
int16_t ReadTabStart(const settings::SettingsStore& store);

}  // namespace vex::engine
