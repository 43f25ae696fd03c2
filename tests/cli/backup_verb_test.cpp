#include <gtest/gtest.h>

#include "fakes/cli_sandbox.h"
#include "fakes/corpus.h"
#include "ide/project_loader.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using testing::Listing;
using testing::ReadFile;

bool Says(const testing::CliResult& r, const std::string& text) { return r.err.find(text) != std::string::npos; }

TEST(BackupVerb, DirectorySelectionSummaryAndExitCodes) {
    testing::CliSandbox box;
    const std::string out = (box.dir / "out").string(), stored = (box.dir / "stored").string();
    auto r = box.Vex({"backup", box.project, "--to", out, "--component", "frmMain"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Says(r, "3 files copied, 0 files failed")) << r.err;
    auto expected = box.Snapshot();
    expected.erase("modUtil.bas");
    expected.erase("clsCustomer.cls");
    EXPECT_EQ(Listing(out), expected);

    // --to stored nothing: without it the copies go to the add-in's directory, then to the stored one.
    EXPECT_EQ(box.Vex({"backup", box.project, "--component", "modUtil"}).code, 0);
    EXPECT_EQ(ReadFile(box.dir / "modUtil.bas"), box.Snapshot().at("modUtil.bas"));
    ASSERT_EQ(box.Vex({"options", "set", "--raw", "Backup Dir", stored}).code, 0);
    const std::string settings = ReadFile(box.settings);
    EXPECT_EQ(box.Vex({"backup", box.project, "--component", "modUtil"}).code, 0);
    EXPECT_EQ(Listing(stored).size(), 2u);
    EXPECT_EQ(box.Vex({"backup", box.project, "--to", out}).code, 0);
    EXPECT_EQ(ReadFile(box.settings), settings);

    EXPECT_EQ(box.Vex({"backup", box.project, "--to", ""}).code, 2);
    fs::remove(box.dir / "sample/frmMain.frm");  // the stop question is answered by --on-error abort
    r = box.Vex({"backup", box.project, "--to", out});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Says(r, "1 file copied, 1 file failed")) << r.err;
}

TEST(BackupVerb, EveryCorpusProjectCopiesByteForByte) {
    const auto projects = testing::CorpusFiles({".vbp"});
    SKIP_WITHOUT_CORPUS(projects);
    for (const auto& vbp : projects) {
        SCOPED_TRACE(vbp.string());
        testing::CliSandbox box;
        const fs::path out = box.dir / "out";
        const auto r = box.Vex({"backup", vbp.string(), "--to", out.string()});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_FALSE(Says(r, "stored as")) << r.err;  // no name clash in these projects

        auto ws = ide::LoadWorkspace(vbp);
        std::set<fs::path> listed{ws.ActiveVBProject()->FileName()};
        for (const auto& c : ws.ActiveVBProject()->VBComponents()) listed.insert(c.Files().begin(), c.Files().end());
        for (const auto& file : listed) {
            EXPECT_TRUE(ReadFile(out / file.filename()) == ReadFile(file)) << file;
            EXPECT_EQ(fs::last_write_time(out / file.filename()), fs::last_write_time(file)) << file;
        }
        EXPECT_EQ(Listing(out).size(), listed.size());
    }
}

}  // namespace
}  // namespace vex::cli
