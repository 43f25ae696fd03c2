#pragma once
// What the engine reaches outside itself: the active project, the progress bars, the screen, the result
// log, the settings, the error report and the clock. The CLI, the desktop host and the tests each supply
// their own implementations.

#include <functional>

#include "host/clock.h"
#include "host/notices.h"
#include "host/progress_bar.h"
#include "host/prompter.h"
#include "host/result_log.h"
#include "host/screen.h"

namespace vex::ide {
class Component;
class Project;
}
namespace vex::settings {
class SettingsStore;
}
namespace vex::errors {
class ErrorReport;
}

namespace vex::engine {

using host::Pointer;

/// Everything an engine procedure may reach. References stay valid for the whole call.
struct Host {
    ide::Project* activeProject = nullptr;  ///< VBInst.ActiveVBProject; null when no project is open
    host::ProgressBar& percentProject;
    host::ProgressBar& percentFile;
    host::Screen& screen;
    host::ResultLog& result;
    settings::SettingsStore& store;
    errors::ErrorReport& report;
    host::Prompter& prompter;
    host::Notices& notices;
    const host::Clock& clock;
    /// Told when a code pass is done with a component it visited (it may still be edited later; whoever
    /// listens must check). A run that ends with its save starts saving it then. May be empty.
    std::function<void(const ide::Component&)> componentDone = {};
    /// The project's modules share nothing with one another or with anything else that runs, so that a
    /// pass may read one on another thread while it edits another (the numbering pass reads the jump
    /// targets ahead). False where a module may be read elsewhere during a pass (an editor showing it).
    bool readAhead = false;
};

}  // namespace vex::engine
