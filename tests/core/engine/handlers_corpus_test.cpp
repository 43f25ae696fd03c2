// Round-trip properties of the error-handler and indentation passes over real projects.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "engine/add_code_error.h"
#include "engine/remove_code_error.h"
#include "engine/study_tabulation.h"
#include "handler_test_support.h"
#include "ide/project_loader.h"

namespace vex::engine {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> CorpusProjects() {
    std::vector<fs::path> projects;
    const fs::path root = VEXTOOLS_SOURCE_DIR "/../shared/corpus";
    if (!fs::is_directory(root)) return projects;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().extension() == ".vbp") projects.push_back(entry.path());
    std::sort(projects.begin(), projects.end());
    return projects;
}

/// The active project of `file`, listed with every row selected, with fakes around it.
struct CorpusRun {
    explicit CorpusRun(const fs::path& file) : workspace(ide::LoadWorkspace(file)) {
        project = workspace.ActiveVBProject();
        fx.host.activeProject = project;
        fx.store.Save("ViewResult", "0");
        for (auto& c : project->VBComponents()) {
            if (c.Name().empty()) continue;
            lst.AddItem(c.Name());
            lst.SetSelected(static_cast<int16_t>(lst.ListCount() - 1), true);
        }
    }
    std::vector<std::string> Files() {
        std::vector<std::string> texts;
        for (auto& c : project->VBComponents()) texts.push_back(c.Loaded() ? c.Source().Serialize() : "");
        return texts;
    }
    ide::Workspace workspace;
    ide::Project* project = nullptr;
    testing::HostFixture fx;
    PlainFileList lst;
    NullResultWindow window;
};

/// Every procedure holds either no separator line or four: the first right after its declaration, the
/// last right before its own End line.
void ExpectHandlersInPlace(ide::Component& component) {
    static const std::regex endLine(R"(^\s*(\w+:?\s+)?end\s+(sub|function|property)\b.*)", std::regex::icase);
    const std::string sep = "'########## %Manage Error% ##########";
    auto& code = component.GetCodeModule();
    for (const auto& proc : component.Source().Procedures()) {
        std::vector<long> seps;
        long lastEnd = 0;
        for (long j = proc.body; j <= proc.end; ++j) {
            const std::string line = code.Lines(j, 1);
            if (line == sep) seps.push_back(j);
            if (std::regex_match(line, endLine)) lastEnd = lastEnd ? lastEnd : j;
        }
        if (seps.empty()) continue;
        ASSERT_EQ(seps.size(), 4u) << component.Name() << "." << proc.name;
        long declLast = proc.body;
        while (code.Lines(declLast, 1).ends_with(" _")) ++declLast;
        EXPECT_EQ(seps[0], declLast + 1) << component.Name() << "." << proc.name;
        EXPECT_EQ(seps[3] + 1, lastEnd) << component.Name() << "." << proc.name;
    }
}

TEST(HandlersCorpus, RemoveAfterAddRestoresAndAddIsIdempotent) {
    const auto projects = CorpusProjects();
    if (projects.empty()) GTEST_SKIP() << "no corpus at " VEXTOOLS_SOURCE_DIR "/../shared/corpus";
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        const auto original = run.Files();

        AddCodeError(run.fx.host, run.lst, run.window);
        ASSERT_TRUE(run.fx.report.Reported().empty()) << run.fx.report.Reported()[0].description;
        const auto added = run.Files();
        EXPECT_NE(added, original);
        for (auto& c : run.project->VBComponents())
            if (c.Loaded()) ExpectHandlersInPlace(c);
        const std::string log = run.fx.result.Text();
        const auto count = [&](const std::string& what) {
            size_t n = 0;
            for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
            return n;
        };
        EXPECT_GT(count("-> Add beginning code"), 0u);
        EXPECT_EQ(count("-> Add beginning code"), count("-> Add terminate code"));

        AddCodeError(run.fx.host, run.lst, run.window);
        const auto twice = run.Files();
        for (size_t i = 0; i < added.size(); ++i) EXPECT_EQ(twice[i], added[i]) << "second add changed #" << i;

        RemoveCodeError(run.fx.host, run.lst, run.window);
        ASSERT_TRUE(run.fx.report.Reported().empty()) << run.fx.report.Reported()[0].description;
        const auto restored = run.Files();
        for (size_t i = 0; i < original.size(); ++i)
            EXPECT_TRUE(restored[i] == original[i])
                << "remove did not restore " << run.project->VBComponents()[i].Name();
    }
}

TEST(HandlersCorpus, IndentTwiceEqualsOnce) {
    const auto projects = CorpusProjects();
    if (projects.empty()) GTEST_SKIP() << "no corpus at " VEXTOOLS_SOURCE_DIR "/../shared/corpus";
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        StudyTabulation(run.fx.host, run.lst);
        ASSERT_TRUE(run.fx.report.Reported().empty()) << run.fx.report.Reported()[0].description;
        const auto once = run.Files();
        StudyTabulation(run.fx.host, run.lst);
        const auto twice = run.Files();
        for (size_t i = 0; i < once.size(); ++i)
            EXPECT_TRUE(twice[i] == once[i]) << "second indent changed " << run.project->VBComponents()[i].Name();
    }
}

}  // namespace
}  // namespace vex::engine
