#pragma once
// gestErreur: the one routine through which every procedure reports a run-time error.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/runtime_error.h"

namespace vex::errors {

/// One report as it was answered; kept so that a batch host can list what a run met.
struct ReportedError {
    std::string procedure;  ///< the tag, e.g. "modEtude // StudyLineNumber"
    int number = 0;
    std::string description;
    std::string answer;  ///< "3", "4" or "5" (or another code the prompter gave)
};

/// The error report. Implementations log each report to "List_Err.log" and ask the user through a Prompter.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;

    /// Logs the error, asks the user (number 0 is answered "5" without asking) and returns the answer's
    /// decimal text: "4" retry, "5" ignore, "3" abort. Never throws.
    virtual std::string gestErreur(std::string_view procedureName, const RuntimeError& error, long lineNumber,
                                   const std::optional<std::string>& comments = std::nullopt) = 0;

    /// Every report made so far, in order.
    virtual const std::vector<ReportedError>& Reported() const = 0;

    /// True once any report was answered Abort ("3").
    bool Aborted() const {
        for (const auto& r : Reported())
            if (r.answer == "3") return true;
        return false;
    }
};

}  // namespace vex::errors
