#include "cli/prompters.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vex::cli {
namespace {

namespace answer = errors::answer;
namespace style = errors::style;

errors::Message Question(const std::string& text = "The following error is intercept::\rN° 5 - x") {
    return {text, "VexTools", style::kCritical + style::kAbortRetryIgnore};
}

TEST(TerminalPrompter, ReadsAnAnswerByNameOrLetter) {
    struct Case {
        const char* input;
        int answer;
    };
    const Case cases[] = {{"r\n", answer::kRetry},       {"Ignore\n", answer::kIgnore}, {"  A \n", answer::kAbort},
                          {"what\ni\n", answer::kIgnore}, {"\n", answer::kAbort},       {"", answer::kAbort}};
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream err;
        TerminalPrompter prompter(in, err);
        EXPECT_EQ(prompter.MsgBox(Question()), c.answer) << c.input;
        EXPECT_NE(err.str().find("VexTools: The following error is intercept::\nN° 5 - x\n"), std::string::npos);
        EXPECT_NE(err.str().find("[A]bort, [R]etry, [I]gnore"), std::string::npos) << err.str();
    }
}

TEST(TerminalPrompter, AnOkMessageIsShownWithoutReading) {
    std::istringstream in("r\n");
    std::ostringstream err;
    TerminalPrompter prompter(in, err);
    EXPECT_EQ(prompter.MsgBox({"Done", "", style::kInformation}), answer::kOk);
    EXPECT_EQ(err.str(), "VexTools: Done\n");
    EXPECT_EQ(in.tellg(), 0);
}

TEST(PolicyPrompter, AnswersByPolicyAndRetryGivesUpAfterThreeTries) {
    struct Case {
        PolicyPrompter::Policy policy;
        std::vector<std::string> messages;
        std::vector<int> answers;
    };
    using P = PolicyPrompter::Policy;
    const Case cases[] = {
        {P::Abort, {"a"}, {answer::kAbort}},
        {P::Ignore, {"a", "a", "a", "a"}, {answer::kIgnore, answer::kIgnore, answer::kIgnore, answer::kIgnore}},
        {P::Retry, {"a", "a", "a"}, {answer::kRetry, answer::kRetry, answer::kAbort}},
        {P::Retry, {"a", "b", "a", "a", "a", "a"},
         {answer::kRetry, answer::kRetry, answer::kRetry, answer::kRetry, answer::kAbort, answer::kRetry}},
    };
    for (const auto& c : cases) {
        std::ostringstream err;
        PolicyPrompter prompter(c.policy, err);
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_EQ(prompter.MsgBox(Question(c.messages[i])), c.answers[i]) << i;
    }
}

}  // namespace
}  // namespace vex::cli
