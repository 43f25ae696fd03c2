#include "backup/backup_dir_model.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "fakes/scratch_dir.h"

namespace vex::backup {
namespace {

struct ScriptedInputBox : InputBox {
    std::string Ask(std::string_view prompt, std::string_view title) override {
        asked = std::string(prompt) + "|" + std::string(title);
        return answer;
    }
    std::string answer, asked;
};

struct DialogTest : ::testing::Test {
    testing::HostFixture f;
    ScriptedInputBox input;
    BackupDirModel model{f.store, f.prompter, f.report, input, "/opt/vextools"};
};

TEST_F(DialogTest, OkStoresCancelAnswersEmptyAndTheAnswerLivesAcrossShowings) {
    EXPECT_EQ(model.GetDirectory([] {}), "");  // first showing closed by its close box
    EXPECT_EQ(model.GetDirectory([&] {
        EXPECT_EQ(model.Text(), "/opt/vextools");  // nothing stored: the add-in's directory
        model.Command1_Click("/srv/backups");
        model.Command1_Click("");  // a cancelled browser leaves the text
        model.Command2_Click();
        EXPECT_FALSE(model.Loaded());
    }),
              "/srv/backups");
    EXPECT_EQ(f.store.Get(kBackupDirKey, ""), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([&] { EXPECT_EQ(model.Text(), "/srv/backups"); }), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([&] {
        model.Command1_Click("/elsewhere");
        model.Command3_Click();
    }),
              "");
    EXPECT_EQ(f.store.Get(kBackupDirKey, ""), "/srv/backups");

    f.store.Save(kBackupDirKey, "");  // an empty text disables Ok and Create
    model.Form_Load();
    model.Command2_Click();
    model.Command4_Click();
    EXPECT_TRUE(model.Loaded() && input.asked.empty());
}

TEST_F(DialogTest, CreatingASubdirectory) {
    testing::ScratchDir t;
    const std::string work = (t / "Work").string();
    testing::WriteFile(t / "Work/notes", "");
    // Each message the command shows, as "text|title|style".
    const std::string exists = "Le répertoire exitse déjà.||" + std::to_string(host::style::kInformation);
    const std::string refused = "Vous devez donner uniquement le nom du répertoire à crée.|Création d'un répertoire|" +
                                std::to_string(host::style::kExclamation);
    const struct {
        std::string from, answer, text, said;
    } cases[] = {
        {work, "Save", work + "/Save", ""},
        {work, "Save", work + "/Save", exists},
        {work, "notes", work + "/notes", exists},                    // a file of that name too
        {work, "a/b", work, refused},
        {work, "", work, ""},                                        // nothing entered, or cancelled
        {work, "a\\b", work + "/a\\b", ""},                          // only "/" separates here
        {(t / "Gone").string(), "Save", (t / "Gone").string(), ""},  // other failures are silent
    };
    model.Form_Load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        if (testing::kWindows && c.answer == "a\\b") continue;  // a separator there too
        model.Command1_Click(c.from);
        input = {};
        input.answer = c.answer;
        f.prompter.asked.clear();
        model.Command4_Click();
        EXPECT_EQ(input.asked, "Nom du sous répertoire : \r\r" + c.from + "|Création d'un répertoire");
        EXPECT_EQ(model.Text(), c.text);
        std::string said;
        for (const auto& m : f.prompter.asked) said += m.text + "|" + m.title + "|" + std::to_string(m.style);
        EXPECT_EQ(said, c.said);
    }
    std::map<std::string, std::string> made{{"Save", ""}, {"a\\b", ""}, {"notes", ""}};
    if (testing::kWindows) made.erase("a\\b");
    EXPECT_EQ(testing::Listing(work), made);
}

}  // namespace
}  // namespace vex::backup
