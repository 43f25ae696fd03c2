#include "addin/doc_vex_tools.h"

#include <gtest/gtest.h>

#include "addin/fake_ide.h"
#include "ide/code_module.h"

namespace vex::addin {
namespace {

using testing::AddInFixture;
using testing::FakeList;
using testing::FakeToolWindowView;
using testing::MakeProject;

const std::string kCode = testing::Crlf({"Sub Main()", "x = 1", "Debug.Print x", "End Sub"});
/// kCode as the code module gives it back: the lines without the last line break.
const std::string kShown = kCode.substr(0, kCode.size() - 2);

/// A tool window over a project of two modules holding kCode.
struct Rig {
    std::string Code(size_t component = 0) {
        const auto& m = f.vbe.projects[0].VBComponents()[component].GetCodeModule();
        return m.Lines(1, m.CountOfLines());
    }
    void Click(std::string_view key) { view.events->Toolbar1_ButtonClick(key); }

    AddInFixture f;
    // The project must exist before the window's start-up reads it.
    bool seeded = [this] {
        f.vbe.projects.push_back(MakeProject({{"Module1", kCode}, {"Module2", kCode}}));
        f.dialogs.backupDirectory = "/backup";
        return true;
    }();
    FakeToolWindowView view;
    std::shared_ptr<testing::FakeWindow> window = std::make_shared<testing::FakeWindow>();
    DocVexTools doc{f.vbe, window, view, f.services};
};

class DocVexToolsTest : public ::testing::Test, public Rig {};

// A click on any button while an action runs (here from the action's own yield) is refused with a message,
// and nothing of what the button does happens: no other action, dialog, copy or change of the selection.
TEST_F(DocVexToolsTest, AClickDuringAnActionIsRefused) {
    const std::string_view keys[] = {key::kSelectAll, key::kUnselectAll, key::kAddLine,    key::kRemoveLine,
                                     key::kAddError,  key::kRemoveError, key::kTabulation, key::kDeleteKey,
                                     key::kBackup,    key::kOption};
    view.list.rows[1].selected = false;
    int yields = 0;
    f.screen.onYield = [&] {
        if (!yields++)
            for (const auto k : keys) Click(k);
    };
    Click(key::kTabulation);
    ASSERT_EQ(f.prompter.asked.size(), std::size(keys));
    for (const auto& m : f.prompter.asked) {
        EXPECT_EQ(m.text, std::string(kBusyMessage));
        EXPECT_EQ(m.style, host::style::kExclamation);
    }
    EXPECT_EQ(view.list.rows, (std::vector<FakeList::Row>{{"Module1", true}, {"Module2", false}}));
    EXPECT_EQ(view.pressedLog,
              (std::vector<std::pair<std::string, bool>>{{"Tabulation", true}, {"Tabulation", false}}));
    EXPECT_TRUE(f.dialogs.inputs.empty() && f.dialogs.optionsShown == 0 && f.copier.copies.empty());
    EXPECT_EQ(Code(1), kShown) << "only the selected module is laid out";
    EXPECT_FALSE(doc.blnActionEnCours);
}

// Each action runs its engine call with the button pressed; a removal takes back what its adding action put.
TEST_F(DocVexToolsTest, EachActionRunsItsEngineCallWithTheButtonPressed) {
    struct Case {
        std::string_view key;
        std::function<bool(Rig&)> done;
        std::string_view undo = {};
    };
    const std::vector<Case> cases{
        {key::kAddLine, [](Rig& t) { return std::isdigit(static_cast<unsigned char>(t.Code()[12])) != 0; },
         key::kRemoveLine},
        {key::kAddError, [](Rig& t) { return t.Code().find("##########") != std::string::npos; }, key::kRemoveError},
        {key::kTabulation, [](Rig& t) { return t.Code().find("\r\n    x = 1") != std::string::npos; }},
        {key::kDeleteKey, [](Rig& t) { return t.Code().find("Debug.Print") == std::string::npos; }},
        {key::kBackup, [](Rig& t) { return !t.f.copier.copies.empty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Rig t;
        t.Click(c.key);
        EXPECT_TRUE(c.done(t)) << t.Code();
        EXPECT_EQ(t.view.pressedLog,
                  (std::vector<std::pair<std::string, bool>>{{std::string(c.key), true}, {std::string(c.key), false}}));
        EXPECT_FALSE(t.doc.blnActionEnCours);
        EXPECT_TRUE(t.f.report.Reported().empty());
        if (c.undo.empty()) continue;
        t.Click(c.undo);
        EXPECT_EQ(t.Code(), kShown);
        EXPECT_FALSE(t.doc.blnActionEnCours);
    }
}

TEST_F(DocVexToolsTest, AbortInTheDispatchLeavesTheWindowReady) {
    view.failPress = true;  // the report answers Abort
    Click(key::kTabulation);
    ASSERT_EQ(f.report.Reported().size(), 1u);
    EXPECT_EQ(f.report.Reported()[0].procedure, "docVexTools // Toolbar1_ButtonClick");
    EXPECT_EQ(Code(), kShown);
    EXPECT_FALSE(doc.blnActionEnCours);
    EXPECT_EQ(view.pressedLog.back(), (std::pair<std::string, bool>{"Tabulation", false}));
}

TEST_F(DocVexToolsTest, SelectionAndOptionsRunWithoutTheBusySequence) {
    Click(key::kUnselectAll);
    EXPECT_EQ(view.list.rows, (std::vector<FakeList::Row>{{"Module1", false}, {"Module2", false}}));
    Click(key::kSelectAll);
    EXPECT_EQ(view.list.rows, (std::vector<FakeList::Row>{{"Module1", true}, {"Module2", true}}));
    Click(key::kOption);
    EXPECT_EQ(f.dialogs.optionsShown, 1);
    Click("selectall");  // keys match exactly
    Click("Unknown");
    EXPECT_TRUE(view.pressedLog.empty());
    EXPECT_TRUE(f.prompter.asked.empty());
}

TEST_F(DocVexToolsTest, DeleteKeyAsksForTheKeywordAndDoesNothingWithoutOneOrWithOneTheCodePageCannotHold) {
    const struct {
        std::string answer;
        size_t pressed, told;  // the button's log, messages shown
    } cases[] = {{"", 0, 0}, {"  Debug.Print", 2, 0}, {"Debug\u4e00", 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Rig t;
        t.f.dialogs.answer = c.answer;
        t.Click(key::kDeleteKey);
        EXPECT_EQ(t.f.dialogs.inputs,
                  (std::vector<std::vector<std::string>>{{"Keyword to delete :", "vexTools", "Debug.Print"}}));
        EXPECT_EQ(t.Code(), kShown) << "no line holds \"" << c.answer << "\"";
        EXPECT_EQ(t.view.pressedLog.size(), c.pressed);
        EXPECT_EQ(t.f.prompter.asked.size(), c.told);
    }
}

TEST_F(DocVexToolsTest, ListMaintenanceWorksOnTheFirstExactMatch) {
    view.list.rows[0].selected = false;
    doc.AddFile("Module1");  // a second row of the same text, selected
    doc.RenameFile("module2", "X");
    doc.RemoveFile("Missing");
    EXPECT_EQ(view.list.rows,
              (std::vector<FakeList::Row>{{"Module1", false}, {"Module2", true}, {"Module1", true}}));
    doc.RemoveFile("Module1");
    doc.RenameFile("Module2", "Renamed");
    EXPECT_EQ(view.list.rows, (std::vector<FakeList::Row>{{"Renamed", true}, {"Module1", true}}));
    doc.RefreshList();
    EXPECT_EQ(view.list.rows, (std::vector<FakeList::Row>{{"Module1", true}, {"Module2", true}}));
}

}  // namespace
}  // namespace vex::addin
