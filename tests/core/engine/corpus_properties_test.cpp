// Properties of the numbering and keyword passes over real-world projects.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "engine_test_util.h"
#include "ide/source_module.h"
#include "ide/vb_syntax.h"

namespace vex::engine {
namespace {

namespace fs = std::filesystem;
using testing::Lines;

std::vector<fs::path> CorpusModules() {
    std::vector<fs::path> files;
    const fs::path corpus = fs::path(VEXTOOLS_SOURCE_DIR) / ".." / "shared" / "corpus";
    if (!fs::exists(corpus)) return files;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        const auto ext = e.path().extension().string();
        if (ext == ".bas" || ext == ".cls" || ext == ".frm" || ext == ".ctl" || ext == ".pag" || ext == ".dob" ||
            ext == ".dsr")
            files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// One module from the corpus as the only component of a project.
struct CorpusRun {
    explicit CorpusRun(const std::string& bytes) {
        project = testing::MakeProject({{"M", bytes}});
        fx.host.activeProject = &project;
        LoadProjectFile(fx.host, lst);
    }
    ide::SourceModule& Module() { return project.VBComponents()[0].Source(); }
    testing::HostFixture fx;
    ide::Project project;
    PlainFileList lst;
};

bool HasLineNumbers(const Lines& lines) {
    for (const auto& l : lines)
        if (!l.empty() && l[0] >= '0' && l[0] <= '9') return true;
    return false;
}

/// Lines grouped into statements: a line with the lines it continues into.
std::vector<Lines> Statements(const Lines& lines) {
    std::vector<Lines> statements;
    bool continued = false;
    for (const auto& l : lines) {
        if (!continued) statements.emplace_back();
        statements.back().push_back(l);
        continued = ide::syntax::Continues(l);
    }
    return statements;
}

#define SKIP_WITHOUT_CORPUS(files) \
    if ((files).empty()) GTEST_SKIP() << "no corpus at " VEXTOOLS_SOURCE_DIR "/../shared/corpus"

TEST(CorpusProperties, NumberingIsIdempotentRemovableAndLeavesContinuationsAlone) {
    const auto files = CorpusModules();
    SKIP_WITHOUT_CORPUS(files);
    long restored = 0;
    for (const auto& file : files) {
        const std::string bytes = ReadBytes(file);
        CorpusRun run(bytes);
        const Lines original = testing::LinesOf(run.Module());
        StudyLineNumber(run.fx.host, run.lst, 1);
        const std::string once = run.Module().Serialize();
        const Lines numbered = testing::LinesOf(run.Module());
        ASSERT_EQ(numbered.size(), original.size()) << file;
        for (size_t i = 1; i < numbered.size(); ++i) {
            if (numbered[i] != original[i]) {
                ASSERT_FALSE(ide::syntax::Continues(original[i - 1])) << file << " line " << i + 1;
            }
        }
        StudyLineNumber(run.fx.host, run.lst, 1);
        ASSERT_EQ(run.Module().Serialize(), once) << file << ": numbering twice differs from once";
        StudyLineNumber(run.fx.host, run.lst, 2);
        if (!HasLineNumbers(original)) {
            ASSERT_EQ(run.Module().Serialize(), bytes) << file << ": removal does not restore the file";
            ++restored;
        }
        ASSERT_TRUE(run.fx.report.Reported().empty()) << file << ": " << run.fx.report.Reported()[0].description;
    }
    EXPECT_GT(restored, 100);
}

TEST(CorpusProperties, KeywordDeletionRemovesWholeStatementsOnly) {
    const auto files = CorpusModules();
    SKIP_WITHOUT_CORPUS(files);
    for (const auto& file : files) {
        CorpusRun run(ReadBytes(file));
        const auto before = Statements(testing::LinesOf(run.Module()));
        StudyRemoveCode(run.fx.host, run.lst, "Debug.Print");
        const auto after = Statements(testing::LinesOf(run.Module()));
        // What is left is the original statements with some whole ones taken out, each holding the keyword.
        size_t k = 0;
        for (const auto& statement : before) {
            if (k < after.size() && after[k] == statement) {
                ++k;
                continue;
            }
            bool holds = false;
            for (const auto& l : statement) holds = holds || l.find("Debug.Print") != std::string::npos;
            ASSERT_TRUE(holds) << file << ": removed a statement without the keyword: " << statement[0];
        }
        ASSERT_EQ(k, after.size()) << file << ": the result is not made of whole original statements";
    }
}

}  // namespace
}  // namespace vex::engine
