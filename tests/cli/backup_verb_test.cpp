#include <gtest/gtest.h>

#include <sstream>

#include "cli/app.h"
#include "core/backup/backup_files.h"
#include "fakes/scoped_env.h"
#include "ide/project_loader.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using testing::Folder;
using testing::Names;
using testing::Put;
using testing::ReadFile;
using testing::ScratchDir;

struct CliRun {
    int code;
    std::string err;
};

/// Runs the command line in this process with its own settings file.
CliRun Vextools(std::vector<std::string> args, const fs::path& settingsFile) {
    args.insert(args.begin(), {"vextools", "--settings", settingsFile.string(), "--on-error", "abort"});
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int code = Run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, err.str()};
}

/// p/P.vbp listing Module1 (modA.bas) and Form1 (Form1.frm with its .frx).
struct BackupVerbTest : ::testing::Test {
    ScratchDir t;
    std::string vbp = Put(t, "p/P.vbp", "Type=Exe\r\nModule=Module1; modA.bas\r\nForm=Form1.frm\r\n").string();
    std::string out = Folder(t, "out").string();
    BackupVerbTest() {
        Put(t, "p/modA.bas", "Attribute VB_Name = \"Module1\"\r\n");
        Put(t, "p/Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Name = \"Form1\"\r\n");
        Put(t, "p/Form1.frx", std::string("\x01\x00\xff", 3));
    }
    CliRun Vextools(std::vector<std::string> args) { return cli::Vextools(std::move(args), t / "settings.ini"); }
};

TEST_F(BackupVerbTest, SelectionFailuresAndUsage) {
    auto r = Vextools({"backup", vbp, "--to", out, "--component", "Form1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Names(out), (std::set<std::string>{"P.vbp", "Form1.frm", "Form1.frx"}));
    EXPECT_NE(r.err.find("3 files copied, 0 files failed"), std::string::npos) << r.err;

    r = Vextools({"backup", vbp, "--to", out, "--component", "Modul1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("did you mean Module1"), std::string::npos) << r.err;
    EXPECT_EQ(Vextools({"backup", vbp, "--to", ""}).code, 2);

    fs::remove(t / "p/modA.bas");
    r = Vextools({"backup", vbp, "--to", out});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("1 file copied, 1 file failed"), std::string::npos) << r.err;
    EXPECT_EQ(Vextools({"backup", (t / "p/none.vbp").string(), "--to", out}).code, 3);
}

TEST_F(BackupVerbTest, TheStoredDirectoryIsTheDefaultAndToStoresNothing) {
    {
        const std::string home = (t / "home").string();
        testing::ScopedEnv env({{"VEXTOOLS_HOME", home.c_str()}});
        const auto r = Vextools({"backup", vbp});  // nothing stored: the add-in's directory
        EXPECT_EQ(r.code, 0) << r.err;
    }
    EXPECT_EQ(Names(t / "home").size(), 4u);

    const std::string stored = Folder(t, "stored").string();
    ASSERT_EQ(Vextools({"options", "set", "--raw", "Backup Dir", stored}).code, 0);
    const std::string settingsBefore = ReadFile(t / "settings.ini");
    EXPECT_EQ(Vextools({"backup", vbp, "--component", "Module1"}).code, 0);
    EXPECT_EQ(Names(stored), (std::set<std::string>{"P.vbp", "modA.bas"}));
    EXPECT_EQ(Vextools({"backup", vbp, "--to", out}).code, 0);
    EXPECT_EQ(ReadFile(t / "settings.ini"), settingsBefore);
}

TEST(BackupCorpus, EveryProjectCopiesByteForByte) {
    const fs::path corpus = VEXTOOLS_SOURCE_DIR "/../shared/corpus";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
    int projects = 0;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        if (e.path().extension() != ".vbp") continue;
        SCOPED_TRACE(e.path().string());
        ++projects;
        ScratchDir t;
        const auto r = Vextools({"backup", e.path().string(), "--to", t.Path().string()}, t.Path() / "settings.ini");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err.find("stored as"), std::string::npos) << r.err;  // no name clash in these projects

        auto ws = ide::LoadWorkspace(e.path());
        std::set<fs::path> listed{ws.ActiveVBProject()->FileName()};
        for (const auto& c : ws.ActiveVBProject()->VBComponents()) listed.insert(c.Files().begin(), c.Files().end());
        for (const auto& file : listed) {
            const fs::path copy = t.Path() / file.filename();
            EXPECT_TRUE(ReadFile(copy) == ReadFile(file)) << file;
            EXPECT_EQ(fs::last_write_time(copy), fs::last_write_time(file)) << file;
        }
        EXPECT_EQ(Names(t.Path()).size(), listed.size());
    }
    EXPECT_GT(projects, 0);
}

}  // namespace
}  // namespace vex::cli
