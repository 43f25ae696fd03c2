#include "engine/selection_walk.h"

#include <gtest/gtest.h>

#include "engine/project_list.h"
#include "engine_test_util.h"
#include "ide/component.h"

namespace vex::engine {
namespace {

using testing::EngineRun;

std::string Visit(EngineRun& run, ProjectBarStep step, std::vector<long>* bar = nullptr) {
    std::string seen;
    WalkSelection(
        run.fx.host, run.lst,
        [&](ide::Component& c, int16_t row) {
            seen += c.Name() + "@" + std::to_string(row) + " ";
            if (bar) bar->push_back(run.fx.percentProject.Value());
            EXPECT_EQ(run.lst.ListIndex(), row);
            return true;
        },
        step);
    return seen;
}

TEST(SelectionWalk, FindsTheFirstRowWithTheExactName) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, bool>> rows;  // text, selected
        std::string expected;
    } cases[] = {
        {"all rows selected", {{"A", true}, {"B", true}, {"C", true}}, "A@0 B@1 C@2 "},
        {"none selected", {{"A", false}, {"B", false}, {"C", false}}, ""},
        {"a component without a row", {{"C", true}, {"A", true}}, "A@1 C@0 "},
        {"letter case differs", {{"a", true}, {"B", true}, {"c", true}}, "B@1 "},
        {"only the first duplicate counts", {{"B", false}, {"B", true}, {"A", true}}, "A@2 "},
    };
    for (const auto& c : cases) {
        EngineRun run({{"A", {"x"}}, {"B", {"x"}}, {"C", {"x"}}});
        run.lst.Clear();
        for (const auto& [text, selected] : c.rows) {
            run.lst.AddItem(text);
            run.lst.SetSelected(run.lst.ListCount() - 1, selected);
        }
        EXPECT_EQ(Visit(run, ProjectBarStep::BeforeComponent), c.expected) << c.what;
        EXPECT_EQ(run.fx.percentProject.Max(), 3) << c.what;
        EXPECT_EQ(run.fx.percentProject.Value(), 3) << c.what;
    }
}

TEST(SelectionWalk, ProjectBarMovesBeforeOrAfterEachComponentAndEachRowYields) {
    EngineRun run({{"A", {"x"}}, {"B", {"x"}}, {"C", {"x"}}});
    std::vector<long> before, after;
    const long yields = run.fx.screen.yields;
    Visit(run, ProjectBarStep::BeforeComponent, &before);
    EXPECT_EQ(run.fx.screen.yields - yields, 1 + 2 + 3);  // the scan starts from row 0 each time
    Visit(run, ProjectBarStep::AfterComponent, &after);
    EXPECT_EQ(before, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(after, (std::vector<long>{0, 1, 2}));
}

TEST(ProjectList, LoadsNamedComponentsAllSelected) {
    EngineRun run({{"frmMain", {"x"}}, {"", {"x"}}, {"modUtil", {"x"}}, {"clsCustomer", {"x"}}});
    EXPECT_EQ(run.lst.ListCount(), 3);
    EXPECT_EQ(Visit(run, ProjectBarStep::BeforeComponent), "frmMain@0 modUtil@1 clsCustomer@2 ");

    run.fx.host.activeProject = nullptr;  // no project: an empty list and no message
    LoadProjectFile(run.fx.host, run.lst);
    EXPECT_EQ(run.lst.ListCount(), 0);
    EXPECT_TRUE(run.fx.prompter.asked.empty());
    EXPECT_EQ(run.fx.screen.pointer, Pointer::Default);
}

}  // namespace
}  // namespace vex::engine
