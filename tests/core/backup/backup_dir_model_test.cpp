#include "backup/backup_dir_model.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "backup_files.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using testing::Folder;
using testing::Names;
using testing::Put;
using testing::ReadFile;
using testing::ScratchDir;

class ScriptedInputBox : public InputBox {
public:
    std::string Ask(std::string_view prompt, std::string_view title) override {
        asked.emplace_back(std::string(prompt) + "|" + std::string(title));
        return answer;
    }
    std::string answer;
    std::vector<std::string> asked;
};

struct DialogTest : ::testing::Test {
    testing::HostFixture f;
    ScriptedInputBox input;
    BackupDirModel model{f.store, f.prompter, f.report, input, "/opt/vextools"};
    std::optional<std::string> Stored() const {
        return f.store.Find(settings::kApplication, settings::kSection, kBackupDirKey);
    }
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
    EXPECT_EQ(Stored(), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([&] { EXPECT_EQ(model.Text(), "/srv/backups"); }), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([&] {
        model.Command1_Click("/elsewhere");
        model.Command3_Click();
    }),
              "");
    EXPECT_EQ(Stored(), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([] {}), "");

    f.store.Save(kBackupDirKey, "");
    model.Form_Load();
    EXPECT_FALSE(model.OkEnabled() || model.CreateEnabled());
    model.Command2_Click();
    model.Command4_Click();
    EXPECT_TRUE(model.Loaded());
    EXPECT_TRUE(input.asked.empty());
}

TEST_F(DialogTest, CreatingASubdirectory) {
    ScratchDir t;
    const std::string work = Folder(t, "Work").string();
    Put(t, "Work/notes", "");
    const struct {
        std::string from, answer, text, message;
    } cases[] = {
        {work, "Save", work + "/Save", ""},
        {work, "Save", work + "/Save", "Le répertoire exitse déjà."},
        {work, "notes", work + "/notes", "Le répertoire exitse déjà."},  // a file of that name too
        {work, "a/b", work, "Vous devez donner uniquement le nom du répertoire à crée."},
        {work, "", work, ""},                                         // nothing entered, or cancelled
        {work, "a\\b", work + "/a\\b", ""},                           // only "/" separates here
        {(t / "Gone").string(), "Save", (t / "Gone").string(), ""},   // other failures are silent
    };
    model.Form_Load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        model.Command1_Click(c.from);
        input.answer = c.answer;
        f.prompter.asked.clear();
        model.Command4_Click();
        EXPECT_EQ(input.asked.back(), "Nom du sous répertoire : \r\r" + c.from + "|Création d'un répertoire");
        EXPECT_EQ(model.Text(), c.text);
        ASSERT_EQ(f.prompter.asked.size(), c.message.empty() ? 0u : 1u);
        if (c.message.empty()) continue;
        EXPECT_EQ(f.prompter.asked[0].text, c.message);
        const bool refused = c.answer.find('/') != std::string::npos;
        EXPECT_EQ(f.prompter.asked[0].title, refused ? "Création d'un répertoire" : "");
        EXPECT_EQ(f.prompter.asked[0].style, refused ? errors::style::kExclamation : errors::style::kInformation);
    }
    EXPECT_EQ(Names(work), (std::set<std::string>{"Save", "a\\b", "notes"}));
}

}  // namespace
}  // namespace vex::backup
