#include "addin/result_save.h"

#include <gtest/gtest.h>

#include "addin/layout.h"
#include "fakes/host_fixture.h"
#include "fakes/scratch_dir.h"

namespace vex::addin {
namespace {

class ScriptedSaveDialog : public SaveFileDialog {
public:
    std::optional<std::filesystem::path> ShowSave(const SaveDialogSettings& s) override {
        seen.push_back(s);
        return answer;
    }
    std::optional<std::filesystem::path> answer;
    std::vector<SaveDialogSettings> seen;
};

TEST(ResultSave, AppendsTheLogAndALineBreak) {
    struct Case {
        const char* name;
        std::optional<std::string> before;  ///< the file's content; nothing: no file
        std::string chosen, written;
        std::string log, after;
    };
    const std::vector<Case> cases{
        {"new file", std::nullopt, "r.txt", "r.txt", "\r\nline", "\r\nline\r\n"},
        {"empty log", std::nullopt, "r.txt", "r.txt", "", "\r\n"},
        {"existing file, no question", "old\r\n", "r.txt", "r.txt", "new", "old\r\nnew\r\n"},
        {"extension added", std::nullopt, "Resultat", "Resultat.txt", "x", "x\r\n"},
        {"other extension kept", std::nullopt, "r.log", "r.log", "x", "x\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchDir dir;
        if (c.before) testing::WriteFile(dir / c.written, *c.before);
        ScriptedSaveDialog dialog;
        dialog.answer = dir / c.chosen;
        testing::CountingScreen screen;
        EXPECT_TRUE(SaveResults(dialog, screen, c.log));
        EXPECT_EQ(testing::ReadFile(dir / c.written), c.after);
        EXPECT_EQ(screen.pointer, host::Pointer::Default);
    }
}

// The dialog proposes Resultat.txt among text files; a cancel or a failed write says nothing.
TEST(ResultSave, CancelAndFailuresAreSilent) {
    testing::ScratchDir dir;
    ScriptedSaveDialog dialog;
    testing::CountingScreen screen;
    EXPECT_FALSE(SaveResults(dialog, screen, "x"));
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].fileName, "Resultat.txt");
    EXPECT_EQ(dialog.seen[0].filter, "Fichier texte  (*.txt)|*.txt|Tous les fichiers  (*.*)|*.*");
    dialog.answer = dir / "missing" / "r.txt";
    EXPECT_FALSE(SaveResults(dialog, screen, "x"));
    EXPECT_EQ(screen.pointer, host::Pointer::Default);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(Layout, ListAndResultBoxFollowTheWindowOrKeepTheirPlace) {
    EXPECT_EQ(ToolWindowListRect(3915, 3810, 330), (Rect{0, 330, 3915, 3180}));
    EXPECT_EQ(ToolWindowListRect(3915, 629, 330), std::nullopt);
    EXPECT_EQ(ToolWindowListRect(3915, 630, 330), (Rect{0, 330, 3915, 0}));
    EXPECT_EQ(ResultTextRect(6555, 5325), (Rect{0, 0, 6555, 4925}));
    EXPECT_EQ(ResultTextRect(6555, 399), std::nullopt);
    EXPECT_EQ(ResultCloseLeft(6555, 975), 5580);
}

}  // namespace
}  // namespace vex::addin
