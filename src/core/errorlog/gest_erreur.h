#pragma once
// gestErreur as the add-in runs it: each report goes to "List_Err.log" (INI layout, one section per moment,
// named by the local date and time) and to the user through a Prompter, whose answer goes back to the
// failing procedure.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error_report.h"
#include "host/prompter.h"

namespace vex::host {
class Clock;
class Notices;
class Screen;
}  // namespace vex::host

namespace vex::errors {

/// The title of the add-in's message boxes.
inline constexpr std::string_view kAppTitle = "VexTools";

class GestErreur : public ErrorReport {
public:
    /// Reports to `logFile` (its directory is created when missing) and asks through `prompter`; the
    /// section names come from `clock`. `screen`, when given, gets the default pointer back before the
    /// question and is let to process its events once after it. `notices`, when given, is told once
    /// that the log could not be written, and why.
    GestErreur(host::Prompter& prompter, const host::Clock& clock, std::filesystem::path logFile,
               host::Screen* screen = nullptr, host::Notices* notices = nullptr);

    /// Writes Project, Procedure, Error and (when given) Comments into the log section of this second,
    /// replacing those keys when the section has them; asks (number 0 is answered Ignore without asking);
    /// writes Action ("Retry", "Ignore", "Abort" or empty) and returns the answer. Log
    /// values are Windows-1252 with line breaks written as blanks; a log that cannot be written is
    /// skipped (and said once to the notices). Never throws.
    host::Answer gestErreur(std::string_view procedureName, const RuntimeError& error, long lineNumber,
                            const std::optional<std::string>& comments = std::nullopt) override;

    const std::vector<ReportedError>& Reported() const override { return reported_; }

    /// The text of the question for an error (UTF-8).
    static std::string MessageText(int number, std::string_view description);

    const std::filesystem::path& LogFile() const { return logFile_; }

private:
    void Log(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries) noexcept;

    host::Prompter& prompter_;
    const host::Clock& clock_;
    std::filesystem::path logFile_;
    host::Screen* screen_;
    host::Notices* notices_;
    bool logFailureSaid_ = false;
    std::vector<ReportedError> reported_;
};

}  // namespace vex::errors
