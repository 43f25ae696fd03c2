#include "errors/trap.h"

namespace vex::errors {

Trap::Trap(ErrorReport& report, std::string tag, std::optional<std::string> comments)
    : report_(report), tag_(std::move(tag)), comments_(std::move(comments)) {}

bool Trap::Run(StepRef step) {
    for (;;) {
        host::Answer answer = host::Answer::Abort;
        try {
            step();
            return true;
        } catch (const RuntimeError& e) {
            answer = report_.gestErreur(tag_, e, line_, comments_);
        } catch (const std::exception& e) {
            answer = report_.gestErreur(tag_, RuntimeError(code::kInternal, e.what()), line_, comments_);
        }
        if (answer == host::Answer::Retry) continue;  // the same step again
        return answer == host::Answer::Ignore;        // go on; Abort or anything else: leave
    }
}

}  // namespace vex::errors
