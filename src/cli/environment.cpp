#include "cli/environment.h"

#include <unistd.h>

#include <ostream>

#include "cli/option_keys.h"
#include "cli/prompters.h"
#include "errorlog/gest_erreur.h"
#include "host/paths.h"
#include "settings/locations.h"
#include "settings/ini_settings_store.h"
#include "settings/memory_settings_store.h"
#include "settings/options.h"

namespace vex::cli {

std::unique_ptr<settings::LayeredSettingsStore> OpenStore(const GlobalOptions& global,
                                                          const std::optional<std::filesystem::path>& searchFrom) {
    settings::SourceRequest request;
    if (!global.runValues.empty()) {
        auto values = std::make_unique<settings::MemorySettingsStore>();
        for (const auto& argument : global.runValues) AddRunValue(argument, *values);  // checked while parsing
        request.runValues = std::move(values);
    }
    if (global.settingsFile) request.explicitFile = host::PathFromUtf8(*global.settingsFile);
    request.searchFrom = searchFrom;
    auto store = settings::OpenOptionSources(std::move(request));
    // A file that cannot be parsed is named now, before any work, rather than by the first reader.
    for (const auto& source : store->Sources())
        source.store->Find(settings::kApplication, settings::kSection, settings::key::kLineJump);
    return store;
}

void WarnOfUnknownKeys(const settings::LayeredSettingsStore& store, std::ostream& err) {
    for (const auto& source : store.Sources()) {
        const auto* file = dynamic_cast<const settings::IniSettingsStore*>(source.store.get());
        if (!file) continue;
        for (const auto& k : file->Keys(settings::kApplication, settings::kSection)) {
            std::string problem;
            if (ResolveKey(k, problem).empty()) err << "vextools: warning: " << source.label << ": " << problem << "\n";
        }
    }
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
                                                     host::Screen* screen) {
    std::filesystem::path log;
    try {
        log = settings::AddinDirectory() / settings::kErrorLogName;
    } catch (const std::exception&) {
        // Nowhere to keep the log: reports are still asked, only not written down.
    }
    return std::make_unique<errors::GestErreur>(prompter, clock, log, screen);
}

void StreamNotices::Notice(std::string_view text) { err_ << "vextools: " << text << '\n'; }

}  // namespace vex::cli
