#include "backup/backup_dir_model.h"

#include <gtest/gtest.h>

#include <deque>

#include "fakes/host_fixture.h"
#include "temp_tree.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using testing::TempTree;

class ScriptedInputBox : public InputBox {
public:
    std::string Ask(std::string_view prompt, std::string_view title) override {
        prompts.emplace_back(prompt);
        titles.emplace_back(title);
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::string> answers;
    std::vector<std::string> prompts, titles;
};

struct DialogTest : ::testing::Test {
    testing::HostFixture f;
    ScriptedInputBox input;
    BackupDirModel model{f.store, f.prompter, f.report, input, "/opt/vextools"};
    std::optional<std::string> Stored() const {
        return f.store.Find(settings::kApplication, settings::kSection, kBackupDirKey);
    }
};

TEST_F(DialogTest, OkStoresAndCancelAnswersEmptyAcrossShowings) {
    // First use: the add-in's directory is proposed; Ok answers and stores it.
    EXPECT_EQ(model.GetDirectory([&] {
        EXPECT_EQ(model.Text(), "/opt/vextools");
        EXPECT_TRUE(model.OkEnabled() && model.CreateEnabled());
        model.Command2_Click();
        EXPECT_FALSE(model.Loaded());
    }),
              "/opt/vextools");
    EXPECT_EQ(Stored(), "/opt/vextools");

    // The browser's answer replaces the text; an empty answer (cancelled browser) leaves it.
    EXPECT_EQ(model.GetDirectory([&] {
        model.Command1_Click("/srv/backups");
        model.Command1_Click("");
        model.Command2_Click();
    }),
              "/srv/backups");

    // The close box keeps the last answer; the stored value is proposed next time.
    EXPECT_EQ(model.GetDirectory([&] { EXPECT_EQ(model.Text(), "/srv/backups"); }), "/srv/backups");

    // Cancel answers empty and leaves the setting; the close box then keeps the empty answer.
    EXPECT_EQ(model.GetDirectory([&] {
        model.Command1_Click("/elsewhere");
        model.Command3_Click();
    }),
              "");
    EXPECT_EQ(Stored(), "/srv/backups");
    EXPECT_EQ(model.GetDirectory([] {}), "");
    EXPECT_TRUE(f.prompter.asked.empty());
}

TEST_F(DialogTest, AFirstShowingClosedByItsCloseBoxAnswersEmpty) {
    EXPECT_EQ(model.GetDirectory([] {}), "");
    EXPECT_FALSE(Stored());
}

TEST_F(DialogTest, AStoredEmptyDirectoryDisablesOkAndCreate) {
    f.store.Save(kBackupDirKey, "");
    model.Form_Load();
    EXPECT_EQ(model.Text(), "");
    EXPECT_FALSE(model.OkEnabled());
    EXPECT_FALSE(model.CreateEnabled());
}

TEST_F(DialogTest, CreatesASubdirectoryAndSaysWhenItExists) {
    TempTree t;
    const std::string work = (t / "Work").string();
    fs::create_directory(work);
    model.Form_Load();
    model.Command1_Click(work);

    input.answers = {"Save"};
    model.Command4_Click();
    EXPECT_TRUE(fs::is_directory(t / "Work/Save"));
    EXPECT_EQ(model.Text(), work + "/Save");
    ASSERT_EQ(input.prompts.size(), 1u);
    EXPECT_EQ(input.prompts[0], "Nom du sous répertoire : \r\r" + work);
    EXPECT_EQ(input.titles[0], "Création d'un répertoire");
    EXPECT_TRUE(f.prompter.asked.empty());

    // The same name again, from the parent: the text still moves to it, and the user is told.
    model.Command1_Click(work);
    input.answers = {"Save"};
    model.Command4_Click();
    EXPECT_EQ(model.Text(), work + "/Save");
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, "Le répertoire exitse déjà.");
    EXPECT_EQ(f.prompter.asked[0].title, "");
    EXPECT_EQ(f.prompter.asked[0].style, errors::style::kInformation);

    // A file of that name counts as existing too.
    t.Write("Work/notes", "");
    model.Command1_Click(work);
    input.answers = {"notes"};
    model.Command4_Click();
    EXPECT_EQ(model.Text(), work + "/notes");
    EXPECT_EQ(f.prompter.asked.size(), 2u);
}

TEST_F(DialogTest, RefusedAndFailedNamesCreateNothing) {
    TempTree t;
    const std::string work = (t / "Work").string();
    fs::create_directory(work);
    model.Form_Load();
    model.Command1_Click(work);
    struct Case {
        std::string answer;
        bool warned;  // the separator message
    } cases[] = {
        {"", false},           // nothing entered, or the box cancelled
        {"a/b", true},         // only a name, not a path
        {"/", true},
        {"a\\b", false},       // a backslash is an ordinary character here; the creation works
    };
    for (const auto& c : cases) {
        f.prompter.asked.clear();
        model.Command1_Click(work);
        input.answers = {c.answer};
        model.Command4_Click();
        ASSERT_EQ(f.prompter.asked.size(), c.warned ? 1u : 0u) << c.answer;
        if (c.warned) {
            EXPECT_EQ(f.prompter.asked[0].text, "Vous devez donner uniquement le nom du répertoire à crée.");
            EXPECT_EQ(f.prompter.asked[0].title, "Création d'un répertoire");
            EXPECT_EQ(f.prompter.asked[0].style, errors::style::kExclamation);
        }
    }
    EXPECT_EQ(TempTree::Names(work), std::set<std::string>{"a\\b"});

    // Any other failure of the creation (here: the parent is gone) is silent and leaves the text.
    model.Command1_Click((t / "Gone").string());
    input.answers = {"Save"};
    f.prompter.asked.clear();
    model.Command4_Click();
    EXPECT_EQ(model.Text(), (t / "Gone").string());
    EXPECT_TRUE(f.prompter.asked.empty());
}

}  // namespace
}  // namespace vex::backup
