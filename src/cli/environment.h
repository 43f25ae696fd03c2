#pragma once
// What every verb needs from the user's environment: the settings store, the prompter behind message
// boxes, the error report with its log, and a place for notices. Verbs call these instead of building
// the pieces themselves, so --settings and --on-error mean the same everywhere.

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string_view>

#include "cli/app.h"
#include "engine/host.h"
#include "errors/error_report.h"
#include "host/prompter.h"
#include "settings/option_sources.h"

namespace vex::cli {

/// The options of the run (settings/option_sources.h): --set, then --settings FILE or $VEXTOOLS_SETTINGS,
/// then the .vextools.ini nearest to `searchFrom` (a project, module or folder; none when not given),
/// then the per-user store. Writes go to --settings FILE, else $VEXTOOLS_SETTINGS, else the per-user store. Throws RuntimeError
/// when no location can be worked out (no HOME) or a file among the sources cannot be read or parsed.
std::unique_ptr<settings::LayeredSettingsStore> OpenStore(const GlobalOptions& global,
                                                          const std::optional<std::filesystem::path>& searchFrom);

/// Warns on `err` of each key in the settings files among `store`'s sources that is no option key,
/// naming the nearest keys: such a value would be ignored without a word.
void WarnOfUnknownKeys(const settings::LayeredSettingsStore& store, std::ostream& err);

/// The prompter of --on-error: "ask" asks on the terminal (answers read from `in`), "retry", "ignore" and
/// "abort" answer by themselves; unset means "ask" when standard input is a terminal, else "abort".
/// Messages go to `err`.
std::unique_ptr<host::Prompter> MakePrompter(const GlobalOptions& global, std::istream& in, std::ostream& err);

/// gestErreur logging to List_Err.log in the add-in's directory and asking through `prompter`.
std::unique_ptr<errors::ErrorReport> MakeErrorReport(host::Prompter& prompter, const host::Clock& clock,
                                                     host::Screen* screen = nullptr);

/// Notices as "vextools: ..." lines on a stream (stderr).
class StreamNotices : public host::Notices {
public:
    explicit StreamNotices(std::ostream& err) : err_(err) {}
    void Notice(std::string_view text) override;

private:
    std::ostream& err_;
};

}  // namespace vex::cli
