#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/app.h"
#include "core/backup/temp_tree.h"
#include "ide/project_loader.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempTree;

struct CliRun {
    int code;
    std::string out, err;
};

/// Runs the command line in this process with its own settings file.
CliRun Vextools(std::vector<std::string> args, const fs::path& settingsFile) {
    args.insert(args.begin(), {"vextools", "--settings", settingsFile.string()});
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int code = Run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

/// A project on disk: P.vbp listing Module1 (modA.bas) and Form1 (Form1.frm with its .frx).
struct BackupVerbTest : ::testing::Test {
    TempTree t;
    std::string vbp = t.Write("p/P.vbp", "Type=Exe\r\nModule=Module1; modA.bas\r\nForm=Form1.frm\r\n").string();
    std::string out = t.MakeDir("out").string();
    fs::path settingsFile = t / "settings.ini";
    CliRun Vextools(std::vector<std::string> args) { return cli::Vextools(std::move(args), settingsFile); }
    BackupVerbTest() {
        t.Write("p/modA.bas", "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n");
        t.Write("p/Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Name = \"Form1\"\r\n");
        t.Write("p/Form1.frx", std::string("\x01\x00\xff", 3));
    }
};

TEST_F(BackupVerbTest, ComponentsSelectTheRowsAndUnknownNamesAreUsageErrors) {
    auto r = Vextools({"backup", vbp, "--to", out, "--component", "Form1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(TempTree::Names(out), (std::set<std::string>{"P.vbp", "Form1.frm", "Form1.frx"}));
    EXPECT_NE(r.err.find("3 files copied, 0 files failed"), std::string::npos) << r.err;

    r = Vextools({"backup", vbp, "--to", out, "--component", "Modul1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("no component named \"Modul1\" in the project; did you mean Module1"), std::string::npos)
        << r.err;
}

TEST_F(BackupVerbTest, FailuresAndBadInput) {
    fs::remove(t / "p/modA.bas");
    auto r = Vextools({"backup", vbp, "--to", out, "--on-error", "abort"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(TempTree::Names(out), std::set<std::string>{"P.vbp"});
    EXPECT_NE(r.err.find("1 file copied, 1 file failed"), std::string::npos) << r.err;

    r = Vextools({"backup", vbp, "--to", ""});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("directory is empty"), std::string::npos) << r.err;

    r = Vextools({"backup", (t / "p/none.vbp").string(), "--to", out});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("none.vbp"), std::string::npos) << r.err;
}

TEST_F(BackupVerbTest, TheStoredDirectoryIsTheDefaultAndToStoresNothing) {
    // Nothing stored: the add-in's directory.
    const char* before = std::getenv("VEXTOOLS_HOME");
    const std::string saved = before ? before : "";
    ::setenv("VEXTOOLS_HOME", (t / "home").c_str(), 1);
    auto r = Vextools({"backup", vbp, "--on-error", "abort"});
    if (before) ::setenv("VEXTOOLS_HOME", saved.c_str(), 1); else ::unsetenv("VEXTOOLS_HOME");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(TempTree::Names(t / "home"), (std::set<std::string>{"P.vbp", "modA.bas", "Form1.frm", "Form1.frx"}));

    // A stored directory is used; --to goes elsewhere and leaves the setting as it was.
    const std::string stored = t.MakeDir("stored").string();
    ASSERT_EQ(Vextools({"options", "set", "--raw", "Backup Dir", stored}).code, 0);
    const std::string settingsBefore = TempTree::Read(settingsFile);
    EXPECT_EQ(Vextools({"backup", vbp, "--component", "Module1"}).code, 0);
    EXPECT_EQ(TempTree::Names(stored), (std::set<std::string>{"P.vbp", "modA.bas"}));
    EXPECT_EQ(Vextools({"backup", vbp, "--to", out}).code, 0);
    EXPECT_EQ(TempTree::Read(settingsFile), settingsBefore);
    EXPECT_EQ(TempTree::Names(out).size(), 4u);
}

TEST(BackupCorpus, EveryProjectCopiesByteForByte) {
    const fs::path corpus = VEXTOOLS_SOURCE_DIR "/../shared/corpus";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
    int projects = 0;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        if (e.path().extension() != ".vbp") continue;
        SCOPED_TRACE(e.path().string());
        ++projects;
        TempTree t;
        const auto r = Vextools({"backup", e.path().string(), "--to", t.Root().string(), "--on-error", "abort"},
                                t.Root() / "settings.ini");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err.find("stored as"), std::string::npos) << r.err;  // no name clash in these projects

        auto ws = ide::LoadWorkspace(e.path());
        std::vector<fs::path> listed{ws.ActiveVBProject()->FileName()};
        for (const auto& c : ws.ActiveVBProject()->VBComponents())
            listed.insert(listed.end(), c.Files().begin(), c.Files().end());
        for (const auto& file : listed) {
            const fs::path copy = t / file.filename();
            ASSERT_TRUE(fs::exists(copy)) << file;
            EXPECT_TRUE(TempTree::Read(copy) == TempTree::Read(file)) << file;
            EXPECT_EQ(fs::last_write_time(copy), fs::last_write_time(file)) << file;
        }
        EXPECT_EQ(TempTree::Names(t.Root()).size(), std::set<fs::path>(listed.begin(), listed.end()).size());
    }
    EXPECT_GT(projects, 0);
}

}  // namespace
}  // namespace vex::cli
