#pragma once
// Everything of the host that the add-in's logic uses besides the IDE's object model and its windows.

namespace vex::host {
class Prompter;
class Screen;
class Notices;
class Clock;
}  // namespace vex::host
namespace vex::settings {
class SettingsStore;
}
namespace vex::errors {
class ErrorReport;
}
namespace vex::backup {
class CopyService;
}

namespace vex::addin {

class Dialogs;
class ResultView;

/// The host's services; every reference outlives the add-in.
struct Services {
    settings::SettingsStore& store;
    errors::ErrorReport& report;  ///< gestErreur
    host::Prompter& prompter;     ///< message boxes
    host::Screen& screen;         ///< the pointer and the yield to the event loop
    host::Notices& notices;
    const host::Clock& clock;
    backup::CopyService& copier;
    Dialogs& dialogs;
    ResultView& result;  ///< frmResult
};

}  // namespace vex::addin
