// Properties of every code pass over the real-world projects.

#include <gtest/gtest.h>

#include <regex>

#include "engine/add_code_error.h"
#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "engine/remove_code_error.h"
#include "engine/study_tabulation.h"
#include "engine_test_util.h"
#include "fakes/corpus.h"
#include "ide/vb_lexer.h"
#include "ide/project_loader.h"
#include "ide/vb_syntax.h"

namespace vex::engine {
namespace {

namespace fs = std::filesystem;
using testing::Lines;
using testing::Statements;

/// The active project of a corpus project file, listed with every row selected, with fakes around it.
struct CorpusRun {
    explicit CorpusRun(const fs::path& file) : workspace(ide::LoadWorkspace(file)) {
        project = workspace.ActiveVBProject();
        fx.host.activeProject = project;
        fx.store.Save("ViewResult", "0");
        LoadProjectFile(fx.host, lst);
    }
    /// The components whose file was found, then their file texts and their code lines.
    std::vector<ide::Component*> Loaded() {
        std::vector<ide::Component*> loaded;
        for (auto& c : project->VBComponents())
            if (c.Loaded()) loaded.push_back(&c);
        return loaded;
    }
    std::vector<std::string> Files() {
        std::vector<std::string> texts;
        for (auto* c : Loaded()) texts.push_back(c->Source().Serialize());
        return texts;
    }
    std::vector<Lines> CodeLines() {
        std::vector<Lines> lines;
        for (auto* c : Loaded()) lines.push_back(testing::LinesOf(c->GetCodeModule()));
        return lines;
    }
    void ExpectNoReport() {
        ASSERT_TRUE(fx.report.Reported().empty()) << fx.report.Reported()[0].description;
    }
    ide::Workspace workspace;
    ide::Project* project = nullptr;
    testing::HostFixture fx;
    PlainFileList lst;
    NullResultWindow window;
};

std::vector<fs::path> Projects() { return testing::CorpusFiles({".vbp"}); }

bool HasLineNumbers(const Lines& lines) {
    for (const auto& l : lines)
        if (!l.empty() && l[0] >= '0' && l[0] <= '9') return true;
    return false;
}

TEST(CorpusProperties, NumberingIsIdempotentRemovableAndLeavesContinuationsAlone) {
    const auto projects = Projects();
    SKIP_WITHOUT_CORPUS(projects);
    long restored = 0;
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        const auto original = run.Files();
        const auto originalLines = run.CodeLines();
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
        const auto once = run.Files();
        const auto numbered = run.CodeLines();
        for (size_t m = 0; m < numbered.size(); ++m) {
            ASSERT_EQ(numbered[m].size(), originalLines[m].size());
            for (size_t i = 1; i < numbered[m].size(); ++i)
                ASSERT_TRUE(numbered[m][i] == originalLines[m][i] || !ide::lex::Continues(originalLines[m][i - 1]))
                    << "numbered a continuation line: " << numbered[m][i];
        }
        StudyLineNumber(run.fx.host, run.lst, EditMode::Add);
        ASSERT_EQ(run.Files(), once) << "numbering twice differs from once";
        StudyLineNumber(run.fx.host, run.lst, EditMode::Remove);
        const auto removed = run.Files();
        for (size_t m = 0; m < original.size(); ++m) {
            if (HasLineNumbers(originalLines[m])) continue;
            EXPECT_TRUE(removed[m] == original[m]) << run.Loaded()[m]->Name() << ": removal does not restore it";
            ++restored;
        }
        run.ExpectNoReport();
    }
    EXPECT_GT(restored, 100);
}

TEST(CorpusProperties, KeywordDeletionRemovesWholeStatementsOnly) {
    const auto projects = Projects();
    SKIP_WITHOUT_CORPUS(projects);
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        const auto before = run.CodeLines();
        StudyRemoveCode(run.fx.host, run.lst, "Debug.Print");
        run.ExpectNoReport();
        const auto afterLines = run.CodeLines();
        for (size_t m = 0; m < before.size(); ++m) {
            const auto after = Statements(afterLines[m]);
            // What is left is the original statements with some whole ones taken out, each holding the keyword.
            size_t k = 0;
            for (const auto& statement : Statements(before[m])) {
                if (k < after.size() && after[k] == statement) {
                    ++k;
                    continue;
                }
                bool holds = false;
                for (const auto& l : statement) holds = holds || l.find("Debug.Print") != std::string::npos;
                ASSERT_TRUE(holds) << "removed a statement without the keyword: " << statement[0];
            }
            ASSERT_EQ(k, after.size()) << run.Loaded()[m]->Name() << " is not made of whole original statements";
        }
    }
}

/// Every procedure holds either no separator line or four: the first right after its declaration (after
/// the #End If of alternative signatures), the last right before its own End line.
void ExpectHandlersInPlace(ide::Component& component) {
    static const std::regex endLine(R"(^\s*(\w+:?\s+)?end\s+(sub|function|property)\b.*)", std::regex::icase);
    auto& code = component.GetCodeModule();
    for (const auto& proc : component.Source().Procedures()) {
        std::vector<long> seps;
        long firstEnd = 0;
        for (long j = proc.body; j <= proc.end; ++j) {
            const std::string line = code.Lines(j, 1);
            if (line == testing::kSep) seps.push_back(j);
            if (!firstEnd && std::regex_match(line, endLine)) firstEnd = j;
        }
        if (seps.empty()) continue;
        ASSERT_EQ(seps.size(), 4u) << component.Name() << "." << proc.name;
        EXPECT_EQ(seps[0], proc.declarationEnd + 1) << component.Name() << "." << proc.name;
        EXPECT_EQ(seps[3] + 1, firstEnd) << component.Name() << "." << proc.name;
    }
}

TEST(CorpusProperties, HandlersGoInOnceInPlaceAndRemovalRestores) {
    const auto projects = Projects();
    SKIP_WITHOUT_CORPUS(projects);
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        const auto original = run.Files();
        AddCodeError(run.fx.host, run.lst, run.window);
        run.ExpectNoReport();
        const auto added = run.Files();
        EXPECT_NE(added, original);
        for (auto* c : run.Loaded()) ExpectHandlersInPlace(*c);

        AddCodeError(run.fx.host, run.lst, run.window);
        EXPECT_TRUE(run.Files() == added) << "a second add changed the code";
        RemoveCodeError(run.fx.host, run.lst, run.window);
        run.ExpectNoReport();
        const auto restored = run.Files();
        for (size_t i = 0; i < original.size(); ++i)
            EXPECT_TRUE(restored[i] == original[i]) << "removal did not restore " << run.Loaded()[i]->Name();
    }
}

TEST(CorpusProperties, IndentTwiceEqualsOnce) {
    const auto projects = Projects();
    SKIP_WITHOUT_CORPUS(projects);
    for (const auto& file : projects) {
        SCOPED_TRACE(file.string());
        CorpusRun run(file);
        StudyTabulation(run.fx.host, run.lst);
        run.ExpectNoReport();
        const auto once = run.Files();
        StudyTabulation(run.fx.host, run.lst);
        EXPECT_TRUE(run.Files() == once) << "a second indent changed the code";
    }
}

}  // namespace
}  // namespace vex::engine
