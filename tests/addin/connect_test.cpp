#include "addin/connect.h"

#include <gtest/gtest.h>

#include "addin/fake_ide.h"

namespace vex::addin {
namespace {

using testing::AddInFixture;
using testing::FakeAddIn;
using testing::FakeList;
using testing::MakeProject;

const std::vector<std::string> kBarBefore{"New", "Open", "Save", "Help"};
const std::vector<std::string> kBarWithButton{"New", "Open", "Save", "vexTools", "Help"};

class ConnectTest : public ::testing::Test {
protected:
    ConnectTest() {
        f.vbe.projects.push_back(MakeProject({{"Module1", ""}, {"Module2", ""}}));
        f.vbe.projects.push_back(MakeProject({{"Other1", ""}}));
        f.vbe.projects[1].SetName("Other");
    }
    FakeList& List() { return f.vbe.views.at(0)->list; }
    std::vector<std::string> Rows() {
        std::vector<std::string> out;
        for (const auto& r : List().rows) out.push_back(r.text + (r.selected ? "*" : ""));
        return out;
    }
    bool Visible() { return f.vbe.windows.at(0)->visible; }

    AddInFixture f;
    AddInModule module;
    Connect connect{module, f.services};
    FakeAddIn self{"VexTools.Connect", true};
};

TEST_F(ConnectTest, EachModePlacesTheButtonAtItsTime) {
    struct Case {
        long mode;
        bool buttonAtOnce, shownAtOnce;
    };
    for (const Case c : {Case{0, true, false}, Case{1, false, false}, Case{3, false, false}}) {
        SCOPED_TRACE(c.mode);
        AddInFixture g;
        g.vbe.projects.push_back(MakeProject({{"Module1", ""}}));
        AddInModule m;
        Connect conn(m, g.services);
        conn.OnConnection(g.vbe, c.mode, self);

        EXPECT_EQ(g.vbe.created, std::vector<std::string>{"VexTools.Connect"});
        EXPECT_EQ(g.vbe.views[0]->list.rows, (std::vector<FakeList::Row>{{"Module1", true}}));
        EXPECT_EQ(g.vbe.standard.Captions(), c.buttonAtOnce ? kBarWithButton : kBarBefore);
        EXPECT_EQ(g.vbe.windows[0]->visible, c.shownAtOnce);

        if (!c.buttonAtOnce) conn.OnStartupComplete();
        EXPECT_EQ(g.vbe.standard.Captions(), kBarWithButton);
        EXPECT_TRUE(g.vbe.standard.visible);
        EXPECT_EQ(g.vbe.clipboard, g.dialogs.face);
        EXPECT_EQ(g.vbe.standard.controls[3]->face, g.dialogs.face);
        EXPECT_EQ(g.vbe.componentSinks.size(), 1u);
        EXPECT_EQ(g.vbe.projectSinks.size(), 1u);
        EXPECT_TRUE(g.prompter.asked.empty());
    }
}

TEST_F(ConnectTest, DisconnectionStoresWhetherTheWindowWasShown) {
    for (const auto& [visible, removeMode, stored] :
         std::vector<std::tuple<bool, long, std::string>>{{true, 0, "1"}, {false, 0, "0"}, {true, 1, "1"}}) {
        AddInFixture g;
        AddInModule m;
        Connect conn(m, g.services);
        conn.OnConnection(g.vbe, connect_mode::kAfterStartup, self);
        g.vbe.windows[0]->visible = visible;
        conn.OnDisconnection(removeMode);
        EXPECT_EQ(g.store.Get(kDisplayKey, "?"), stored);
        EXPECT_EQ(g.vbe.standard.Captions(), kBarBefore);
        EXPECT_EQ(m.objToolWindow, nullptr);

        // The next connection makes a new window and honours the stored preference.
        conn.OnConnection(g.vbe, connect_mode::kAfterStartup, self);
        ASSERT_EQ(g.vbe.created.size(), 2u);
        EXPECT_EQ(g.vbe.windows[1]->visible, visible);
        EXPECT_EQ(g.vbe.standard.Captions(), kBarWithButton);
    }
}

TEST_F(ConnectTest, ExternalModeLooksItselfUpInTheAddInCollection) {
    struct Case {
        const char* name;
        std::optional<bool> entry;  ///< nothing: no "VexTools.Connect" entry; else its Connect
        std::optional<std::string> windowFor;
    };
    for (const Case& c : {Case{"not found", std::nullopt, "Other.Connect"}, Case{"found", false, "VexTools.Connect"},
                          Case{"already connected", true, std::nullopt}}) {
        SCOPED_TRACE(c.name);
        AddInFixture g;
        g.vbe.projects.push_back(MakeProject({{"Module1", ""}}));
        if (c.entry) g.vbe.addins.push_back(std::make_unique<FakeAddIn>("VexTools.Connect", *c.entry));
        AddInModule m;
        Connect conn(m, g.services);
        conn.OnConnection(g.vbe, connect_mode::kExternal, self);

        EXPECT_EQ(g.vbe.standard.Captions(), kBarBefore);
        EXPECT_TRUE(g.vbe.componentSinks.empty());
        EXPECT_TRUE(g.vbe.projectSinks.empty());
        if (c.windowFor) {
            EXPECT_EQ(g.vbe.created, std::vector<std::string>{*c.windowFor});
            EXPECT_TRUE(g.vbe.windows[0]->visible);
            EXPECT_EQ(g.vbe.views[0]->list.rows, (std::vector<FakeList::Row>{{"Module1", true}}));
            EXPECT_TRUE(g.prompter.asked.empty());
        } else {
            EXPECT_TRUE(g.vbe.created.empty());
            ASSERT_EQ(g.prompter.asked.size(), 1u);  // Show finds no window
        }
    }
}

TEST_F(ConnectTest, AWindowLeftByAnExternalConnectionIsShownAgain) {
    connect.OnConnection(f.vbe, connect_mode::kExternal, self);
    connect.OnDisconnection(0);  // no button: nothing stored, the window stays
    EXPECT_EQ(f.store.Get(kDisplayKey, "?"), "?");
    ASSERT_NE(module.objToolWindow, nullptr);

    f.vbe.windows[0]->visible = false;
    connect.OnConnection(f.vbe, connect_mode::kAfterStartup, self);
    EXPECT_EQ(f.vbe.created.size(), 1u);
    EXPECT_TRUE(Visible());
    EXPECT_EQ(f.vbe.standard.Captions(), kBarWithButton);
}

TEST_F(ConnectTest, EveryIdeEventReachesTheList) {
    connect.OnConnection(f.vbe, connect_mode::kAfterStartup, self);
    List().rows[0].selected = List().rows[1].selected = false;

    f.vbe.AddComponent(1, "Foreign");  // a component of a project that is not the active one
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Module1", "Module2", "Foreign*"}));
    f.vbe.RenameComponent(0, "Module1", "Renamed");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Renamed", "Module2", "Foreign*"}));
    f.vbe.RemoveComponent(0, "Module2");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Renamed", "Foreign*"}));

    f.vbe.Activate(1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Other1*", "Foreign*"}));
    List().rows[0].selected = false;
    f.vbe.RenameProject(1, "Renamed");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Other1*", "Foreign*"}));
    EXPECT_TRUE(f.report.Reported().empty());
}

TEST_F(ConnectTest, TheButtonShowsAndReloadsWithoutHiding) {
    connect.OnConnection(f.vbe, connect_mode::kAfterStartup, self);
    for (int click = 0; click < 2; ++click) {
        List().rows[0].selected = false;
        f.vbe.ClickButton();
        EXPECT_TRUE(Visible());
        EXPECT_EQ(Rows(), (std::vector<std::string>{"Module1*", "Module2*"}));
    }
}

TEST_F(ConnectTest, AFailedFaceLeavesTheButtonWithoutItsSubscriptions) {
    f.vbe.clipboardFails = true;
    connect.OnConnection(f.vbe, connect_mode::kAfterStartup, self);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, "Can't open Clipboard");
    EXPECT_EQ(f.vbe.standard.Captions(), kBarWithButton);
    EXPECT_TRUE(f.vbe.clicks.empty());
    EXPECT_TRUE(f.vbe.componentSinks.empty());
}

}  // namespace
}  // namespace vex::addin
