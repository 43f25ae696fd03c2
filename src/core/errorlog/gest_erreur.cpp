#include "errorlog/gest_erreur.h"

#include "host/clock.h"
#include "host/notices.h"
#include "host/screen.h"
#include "ini/profile_writer.h"
#include "text/cp1252.h"
#include "text/general_date.h"
#include "util/file_io.h"

namespace vex::errors {
namespace {

// A log value in the log's code page, on one line: each line break (CR LF, CR or LF) becomes a blank so
// that a multi-line description cannot break the INI layout.
std::string LogText(std::string_view utf8) {
    std::string oneLine;
    oneLine.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' || utf8[i] == '\n') {
            if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            oneLine += ' ';
        } else {
            oneLine += utf8[i];
        }
    }
    return text::FromUtf8(oneLine);
}

std::string VersionText() {
    return std::to_string(VEXTOOLS_VERSION_MAJOR) + "." + std::to_string(VEXTOOLS_VERSION_MINOR) + "." +
           std::to_string(VEXTOOLS_VERSION_PATCH);
}

const char* ActionWord(host::Answer answer) {
    switch (answer) {
        case host::Answer::Retry: return "Retry";
        case host::Answer::Ignore: return "Ignore";
        case host::Answer::Abort: return "Abort";
        default: return "";
    }
}

}  // namespace

GestErreur::GestErreur(host::Prompter& prompter, const host::Clock& clock, std::filesystem::path logFile,
                       host::Screen* screen, host::Notices* notices)
    : prompter_(prompter), clock_(clock), logFile_(std::move(logFile)), screen_(screen), notices_(notices) {}

std::string GestErreur::MessageText(int number, std::string_view description) {
    return "The following error is intercept::\rN° " + std::to_string(number) + " - " + std::string(description) +
           "\r\rSi l'erreur persiste, veuillez contacter votre distributeur.";
}

void GestErreur::Log(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& entries) noexcept {
    // A log that cannot be written stops nothing: the user must still be asked.
    if (logFile_.empty()) return;
    std::string why;
    std::error_code ec;
    try {
        std::filesystem::create_directories(logFile_.parent_path(), ec);
        ini::WriteProfileStrings(logFile_, section, entries);
        return;
    } catch (const RuntimeError& e) {
        why = e.Description();
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
    }
    if (logFailureSaid_ || !notices_) return;
    try {
        logFailureSaid_ = true;
        if (ec) why = util::Display(logFile_.parent_path()) + ": cannot make the folder: " + ec.message();
        notices_->Notice(util::Display(logFile_) + ": the error log was not written (" + why + ")");
    } catch (...) {
    }
}

host::Answer GestErreur::gestErreur(std::string_view procedureName, const RuntimeError& error, long lineNumber,
                                    const std::optional<std::string>& comments) {
    std::string section;
    try {
        section = LogText(text::GeneralDate(clock_.Now()));
    } catch (...) {
        section = "?";
    }

    std::vector<std::pair<std::string, std::string>> entries = {
        {"Project", LogText(error.Source()) + " (" + VersionText() + ") "},
        {"Procedure", LogText(procedureName)},
        {"Error", "ligne: " + std::to_string(lineNumber) + " Erreur: " + std::to_string(error.Number()) + " (" +
                      LogText(error.Description()) + ")"},
    };
    if (comments) entries.emplace_back("Comments", LogText(*comments));
    Log(section, entries);

    host::Answer answer = host::Answer::Ignore;
    try {
        if (screen_) screen_->SetPointer(host::Pointer::Default);
        if (error.Number() != 0) {
            answer = prompter_.MsgBox({MessageText(error.Number(), error.Description()), std::string(kAppTitle),
                                       host::style::kCritical + host::style::kAbortRetryIgnore});
        }
        if (screen_) screen_->DoEvents();
        if (answer == host::Answer::Abort && screen_) screen_->SetPointer(host::Pointer::Default);
    } catch (...) {
        // A prompter that cannot ask leaves the procedure rather than guessing.
        answer = host::Answer::Abort;
    }

    Log(section, {{"Action", ActionWord(answer)}});
    try {
        reported_.push_back({std::string(procedureName), error.Number(), error.Description(), answer});
    } catch (...) {
    }
    return answer;
}

}  // namespace vex::errors
