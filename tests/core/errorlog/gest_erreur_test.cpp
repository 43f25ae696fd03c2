#include "errorlog/gest_erreur.h"

#include <gtest/gtest.h>

#include <ctime>

#include "fakes/host_fixture.h"
#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"

namespace vex::errors {
namespace {

using vex::testing::ReadFile;

const std::string kVersion = std::to_string(VEXTOOLS_VERSION_MAJOR) + "." + std::to_string(VEXTOOLS_VERSION_MINOR) +
                             "." + std::to_string(VEXTOOLS_VERSION_PATCH);

// The C locale in UTC, so that section names are fixed.
class GestErreurTest : public ::testing::Test {
protected:
    GestErreurTest() { ::tzset(); }
    ~GestErreurTest() override { ::tzset(); }

    vex::testing::ScopedEnv env{{"TZ", "UTC"}, {"LC_ALL", "C"}};
    vex::testing::ScratchDir dir;
    vex::testing::ScriptedPrompter prompter{host::Answer::Ignore};
    vex::testing::FixedClock clock;
    vex::testing::CountingScreen screen;
    GestErreur report{prompter, clock, dir / "List_Err.log", &screen};
};

TEST_F(GestErreurTest, LogsTheEntriesAsksAndRecordsTheAnswer) {
    screen.pointer = host::Pointer::Hourglass;
    prompter.script = {host::Answer::Retry};
    const host::Answer answer =
        report.gestErreur("modEtude // StudyLineNumber", RuntimeError(53, "File not found", "VexTools"), 120);

    EXPECT_EQ(answer, host::Answer::Retry);
    EXPECT_EQ(ReadFile(dir / "List_Err.log"),
              "[15/01/2027 08:00:00]\n"
              "Project=VexTools (" + kVersion + ") \n"
              "Procedure=modEtude // StudyLineNumber\n"
              "Error=ligne: 120 Erreur: 53 (File not found)\n"
              "Action=Retry\n");
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "The following error is intercept::\rN° 53 - File not found\r\r"
              "Si l'erreur persiste, veuillez contacter votre distributeur.");
    EXPECT_EQ(prompter.asked[0].title, "VexTools");
    EXPECT_EQ(prompter.asked[0].style, 18);
    EXPECT_EQ(screen.pointer, host::Pointer::Default);
    EXPECT_EQ(screen.yields, 1);
    ASSERT_EQ(report.Reported().size(), 1u);
    EXPECT_EQ(report.Reported()[0].procedure, "modEtude // StudyLineNumber");
    EXPECT_EQ(report.Reported()[0].answer, host::Answer::Retry);
}

TEST_F(GestErreurTest, AnswersMapToActionWordsAndNumberZeroIsIgnoredWithoutAsking) {
    const struct {
        int number;
        host::Answer code, answer;
        const char* word;
    } cases[] = {{5, host::Answer::Retry, host::Answer::Retry, "Retry"},
                 {5, host::Answer::Ignore, host::Answer::Ignore, "Ignore"},
                 {5, host::Answer::Abort, host::Answer::Abort, "Abort"},
                 {5, host::Answer::Ok, host::Answer::Ok, ""},
                 {0, host::Answer::Retry, host::Answer::Ignore, "Ignore"}};
    for (const auto& c : cases) {
        prompter.asked.clear();
        prompter.script = {c.code};
        EXPECT_EQ(report.gestErreur("p", RuntimeError(c.number, "x"), 0), c.answer);
        EXPECT_EQ(prompter.asked.size(), c.number ? 1u : 0u);
        const std::string log = ReadFile(dir / "List_Err.log");
        EXPECT_NE(log.find("Erreur: " + std::to_string(c.number) + " (x)\nAction=" + c.word + "\n"), std::string::npos)
            << log;
    }
    EXPECT_TRUE(report.Aborted());
}

TEST_F(GestErreurTest, TwoReportsInOneSecondShareASectionAndKeepEarlierComments) {
    (void)report.gestErreur("StudyRemoveCode", RuntimeError(5, "first"), 1, std::string("Debug.Print"));
    (void)report.gestErreur("AddFile", RuntimeError(9, "second"), 2);
    EXPECT_EQ(ReadFile(dir / "List_Err.log"),
              "[15/01/2027 08:00:00]\n"
              "Project=VexTools (" + kVersion + ") \n"
              "Procedure=AddFile\n"
              "Error=ligne: 2 Erreur: 9 (second)\n"
              "Comments=Debug.Print\n"
              "Action=Ignore\n");

    clock.now += std::chrono::seconds(1);
    (void)report.gestErreur("Later", RuntimeError(5, "third"), 3);
    const std::string log = ReadFile(dir / "List_Err.log");
    EXPECT_NE(log.find("\n\n[15/01/2027 08:00:01]\nProject="), std::string::npos) << log;
    EXPECT_EQ(report.Reported().size(), 3u);
}

TEST_F(GestErreurTest, ValuesAreWindows1252OnOneLine) {
    (void)report.gestErreur("modÉtude", RuntimeError(5, "ligne un\r\nligne deux\nfin € 日", "Projet é"), 0,
                            std::string("a\rb"));
    const std::string log = ReadFile(dir / "List_Err.log");
    EXPECT_NE(log.find("Project=Projet \xE9 ("), std::string::npos) << log;
    EXPECT_NE(log.find("Procedure=mod\xC9tude\n"), std::string::npos) << log;
    EXPECT_NE(log.find("(ligne un ligne deux fin \x80 ?)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Comments=a b\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace vex::errors
