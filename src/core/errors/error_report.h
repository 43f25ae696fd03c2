#pragma once
// gestErreur: the one routine through which every procedure reports a run-time error.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/runtime_error.h"
#include "host/prompter.h"

namespace vex::errors {

/// One report as it was answered; kept so that a batch host can list what a run met.
struct ReportedError {
    std::string procedure;  ///< the tag, e.g. "modEtude // StudyLineNumber"
    int number = 0;
    std::string description;
    host::Answer answer = host::Answer::Abort;  ///< Abort, Retry or Ignore (or another button the prompter gave)
};

/// The error report. Implementations log each report to "List_Err.log" and ask the user through a Prompter.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;

    /// Logs the error, asks the user (number 0 is answered Ignore without asking) and returns the answer:
    /// Retry, Ignore or Abort. Never throws.
    virtual host::Answer gestErreur(std::string_view procedureName, const RuntimeError& error, long lineNumber,
                                   const std::optional<std::string>& comments = std::nullopt) = 0;

    /// Every report made so far, in order.
    virtual const std::vector<ReportedError>& Reported() const = 0;

    /// True once any report was answered Abort.
    bool Aborted() const {
        for (const auto& r : Reported())
            if (r.answer == host::Answer::Abort) return true;
        return false;
    }
};

}  // namespace vex::errors
