#include "cli/environment.h"

#include <unistd.h>

#include <ostream>

#include "cli/prompters.h"
#include "errorlog/gest_erreur.h"
#include "host/paths.h"
#include "settings/locations.h"
#include "settings/user_store.h"

namespace vex::cli {

std::unique_ptr<settings::SettingsStore> OpenStore(const GlobalOptions& global) {
    std::optional<std::filesystem::path> file;
    if (global.settingsFile) file = host::PathFromUtf8(*global.settingsFile);
    return settings::OpenUserStore(file);
}

std::unique_ptr<host::Prompter> MakePrompter(const GlobalOptions& global, std::istream& in, std::ostream& err) {
    std::string policy = global.onError;
    if (policy.empty()) policy = ::isatty(STDIN_FILENO) ? "ask" : "abort";
    if (policy == "ask") return std::make_unique<TerminalPrompter>(in, err);
    if (policy == "retry") return std::make_unique<PolicyPrompter>(PolicyPrompter::Policy::Retry, err);
    if (policy == "ignore") return std::make_unique<PolicyPrompter>(PolicyPrompter::Policy::Ignore, err);
    return std::make_unique<PolicyPrompter>(PolicyPrompter::Policy::Abort, err);
}

std::unique_ptr<errors::ErrorReport> MakeErrorReport(host::Prompter& prompter, const host::Clock& clock,
                                                     host::Screen* screen, host::Notices* notices) {
    std::filesystem::path log;
    try {
        log = settings::AddinDirectory() / settings::kErrorLogName;
    } catch (const std::exception&) {
        // Nowhere to keep the log: reports are still asked, only not written down.
    }
    return std::make_unique<errors::GestErreur>(prompter, clock, log, screen, notices);
}

void StreamNotices::Notice(std::string_view text) { err_ << "vextools: " << text << '\n'; }

}  // namespace vex::cli
