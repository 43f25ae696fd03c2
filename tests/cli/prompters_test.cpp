#include "cli/prompters.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vex::cli {
namespace {

namespace style = host::style;

host::Message Question(const std::string& text = "The following error is intercept::\rN° 5 - x") {
    return {text, "VexTools", style::kCritical + style::kAbortRetryIgnore};
}

TEST(TerminalPrompter, ReadsAnAnswerByNameOrLetter) {
    struct Case {
        const char* input;
        host::Answer answer;
    };
    const Case cases[] = {{"r\n", host::Answer::Retry},       {"Ignore\n", host::Answer::Ignore}, {"  A \n", host::Answer::Abort},
                          {"what\ni\n", host::Answer::Ignore}, {"\n", host::Answer::Abort},       {"", host::Answer::Abort}};
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
    EXPECT_EQ(prompter.MsgBox({"Done", "", style::kInformation}), host::Answer::Ok);
    EXPECT_EQ(err.str(), "VexTools: Done\n");
    EXPECT_EQ(in.tellg(), 0);
}

TEST(PolicyPrompter, AnswersByPolicyAndRetryGivesUpAfterThreeTries) {
    struct Case {
        PolicyPrompter::Policy policy;
        std::vector<std::string> messages;
        std::vector<host::Answer> answers;
    };
    using P = PolicyPrompter::Policy;
    const Case cases[] = {
        {P::Abort, {"a"}, {host::Answer::Abort}},
        {P::Ignore, {"a", "a", "a", "a"}, {host::Answer::Ignore, host::Answer::Ignore, host::Answer::Ignore, host::Answer::Ignore}},
        {P::Retry, {"a", "a", "a"}, {host::Answer::Retry, host::Answer::Retry, host::Answer::Abort}},
        {P::Retry, {"a", "b", "a", "a", "a", "a"},
         {host::Answer::Retry, host::Answer::Retry, host::Answer::Retry, host::Answer::Retry, host::Answer::Abort, host::Answer::Retry}},
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
