#pragma once
// The command line's answers to message boxes: asked on the terminal, or given by the --on-error policy.

#include <iosfwd>
#include <string>

#include "host/prompter.h"

namespace vex::cli {

/// Shows each message on `err`. A message with only an OK button is just shown; any other asks for one of
/// its buttons by name or first letter (an empty line takes the default button) and reads the answer from
/// `in`. The end of input answers as Escape would: Cancel, else Abort, else No.
class TerminalPrompter : public host::Prompter {
public:
    TerminalPrompter(std::istream& in, std::ostream& err) : in_(in), err_(err) {}
    host::Answer MsgBox(const host::Message& message) override;

private:
    std::istream& in_;
    std::ostream& err_;
};

/// Answers without asking, and says on `err` what it answered.
///   abort:  Abort (Cancel, No where the box has no Abort)
///   ignore: Ignore (the default button where the box has no Ignore)
///   retry:  Retry, but a step is tried at most kMaxTries times: when the same message comes back that
///           many times in a row, the answer is Abort, so a lasting failure cannot loop forever.
/// Messages with only an OK button are shown and answered OK.
class PolicyPrompter : public host::Prompter {
public:
    enum class Policy { Retry, Ignore, Abort };
    static constexpr int kMaxTries = 3;

    PolicyPrompter(Policy policy, std::ostream& err) : policy_(policy), err_(err) {}
    host::Answer MsgBox(const host::Message& message) override;

private:
    Policy policy_;
    std::ostream& err_;
    std::string lastMessage_;
    int sameInARow_ = 0;
};

}  // namespace vex::cli
