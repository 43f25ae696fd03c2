#pragma once
// The calling convention of every engine procedure: run each step under a trap; a run-time error in a step
// is reported with the procedure's tag and the user's answer decides: retry the step, go on with the next
// one, or leave the procedure.
//
//     Trap trap(report, "modEtude // StudyTabulation");
//     if (!trap.Run([&] { ... one step ... })) return;   // Abort: leave
//
// Retry runs the same callable again; Ignore returns true so the caller goes on with its next step.

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "errors/error_report.h"

namespace vex::errors {

/// A step borrowed for one call of Trap::Run. Unlike std::function it never copies the callable, so a
/// step run on every line of a module costs no allocation.
class StepRef {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, StepRef>>>
    StepRef(F&& step)  // NOLINT(google-explicit-constructor): a lambda is passed as it stands
        : step_(const_cast<void*>(static_cast<const void*>(std::addressof(step)))),
          call_([](void* s) { (*static_cast<std::remove_reference_t<F>*>(s))(); }) {}

    void operator()() const { call_(step_); }

private:
    void* step_;
    void (*call_)(void*);
};

class Trap {
public:
    Trap(ErrorReport& report, std::string tag, std::optional<std::string> comments = std::nullopt);

    /// Runs `step` until it succeeds or the user stops retrying. Returns false when the answer was Abort
    /// (or any answer other than Retry and Ignore): the procedure must leave. A RuntimeError is reported
    /// as it is; any other std::exception is reported as error 51 with its message.
    [[nodiscard]] bool Run(StepRef step);

    /// The line number passed to the report (VB's Erl); 0 by default.
    void SetLine(long line) { line_ = line; }

    ErrorReport& Report() { return report_; }

private:
    ErrorReport& report_;
    std::string tag_;
    std::optional<std::string> comments_;
    long line_ = 0;
};

}  // namespace vex::errors
