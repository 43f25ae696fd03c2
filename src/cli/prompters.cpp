#include "cli/prompters.h"

#include <istream>
#include <ostream>
#include <vector>

namespace vex::cli {
namespace {

using host::Answer;

struct Button {
    Answer code;
    const char* name;
};

// The buttons of a message box style, left to right.
std::vector<Button> ButtonsOf(int style) {
    namespace s = host::style;
    switch (s::Buttons(style)) {
        case s::kOkCancel: return {{Answer::Ok, "OK"}, {Answer::Cancel, "Cancel"}};
        case s::kAbortRetryIgnore: return {{Answer::Abort, "Abort"}, {Answer::Retry, "Retry"}, {Answer::Ignore, "Ignore"}};
        case s::kYesNoCancel: return {{Answer::Yes, "Yes"}, {Answer::No, "No"}, {Answer::Cancel, "Cancel"}};
        case s::kYesNo: return {{Answer::Yes, "Yes"}, {Answer::No, "No"}};
        case s::kRetryCancel: return {{Answer::Retry, "Retry"}, {Answer::Cancel, "Cancel"}};
        default: return {{Answer::Ok, "OK"}};
    }
}

const Button* Find(const std::vector<Button>& buttons, Answer code) {
    for (const auto& b : buttons)
        if (b.code == code) return &b;
    return nullptr;
}

const Button& DefaultButton(const std::vector<Button>& buttons, int style) {
    const size_t index = static_cast<size_t>((style >> 8) & 0x3);
    return buttons[index < buttons.size() ? index : 0];
}

// What Escape (or the end of input) answers.
const Button& EscapeButton(const std::vector<Button>& buttons) {
    for (Answer code : {Answer::Cancel, Answer::Abort, Answer::No})
        if (const Button* b = Find(buttons, code)) return *b;
    return buttons.back();
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IEquals(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return i == a.size() && !b[i];
}

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The message as terminal lines: message boxes break lines with CR (or CR LF).
void Show(std::ostream& err, const host::Message& m) {
    err << (m.title.empty() ? "VexTools" : m.title) << ": ";
    for (size_t i = 0; i < m.text.size(); ++i) {
        if (m.text[i] == '\r') {
            if (i + 1 < m.text.size() && m.text[i + 1] == '\n') ++i;
            err << '\n';
        } else {
            err << m.text[i];
        }
    }
    err << '\n';
}

}  // namespace

Answer TerminalPrompter::MsgBox(const host::Message& message) {
    const auto buttons = ButtonsOf(message.style);
    Show(err_, message);
    if (buttons.size() == 1) return buttons.front().code;

    const Button& byDefault = DefaultButton(buttons, message.style);
    for (;;) {
        for (size_t i = 0; i < buttons.size(); ++i)
            err_ << (i ? ", " : "") << '[' << buttons[i].name[0] << ']' << (buttons[i].name + 1);
        err_ << " (default " << byDefault.name << ")? " << std::flush;
        std::string line;
        if (!std::getline(in_, line)) {
            const Button& escape = EscapeButton(buttons);
            err_ << escape.name << '\n';
            return escape.code;
        }
        line = Trimmed(line);
        if (line.empty()) return byDefault.code;
        for (const auto& b : buttons)
            if (IEquals(line, b.name) || (line.size() == 1 && Lower(line[0]) == Lower(b.name[0]))) return b.code;
        err_ << "Please answer ";
        for (size_t i = 0; i < buttons.size(); ++i) err_ << (i ? ", " : "") << buttons[i].name;
        err_ << ".\n";
    }
}

Answer PolicyPrompter::MsgBox(const host::Message& message) {
    const auto buttons = ButtonsOf(message.style);
    Show(err_, message);
    if (buttons.size() == 1) return buttons.front().code;

    if (message.text == lastMessage_) {
        ++sameInARow_;
    } else {
        lastMessage_ = message.text;
        sameInARow_ = 1;
    }

    const Button* chosen = nullptr;
    const char* policy = "";
    switch (policy_) {
        case Policy::Abort:
            policy = "abort";
            chosen = &EscapeButton(buttons);
            break;
        case Policy::Ignore:
            policy = "ignore";
            chosen = Find(buttons, Answer::Ignore);
            if (!chosen) chosen = &DefaultButton(buttons, message.style);
            break;
        case Policy::Retry:
            policy = "retry";
            chosen = Find(buttons, Answer::Retry);
            if (!chosen) {
                chosen = &DefaultButton(buttons, message.style);
            } else if (sameInARow_ >= kMaxTries) {
                err_ << "vextools: the same error after " << kMaxTries << " tries; giving up\n";
                chosen = &EscapeButton(buttons);
                lastMessage_.clear();  // a later report of the same error starts counting afresh
            }
            break;
    }
    err_ << "vextools: answered " << chosen->name << " (--on-error " << policy << ")\n";
    return chosen->code;
}

}  // namespace vex::cli
