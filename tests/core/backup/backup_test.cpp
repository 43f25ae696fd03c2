#include "backup/backup.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "ide/project.h"
#include "backup_files.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using errors::answer::kCancel;
using errors::answer::kRetry;
using testing::Folder;
using testing::Names;
using testing::Put;
using testing::ReadFile;
using testing::ScratchDir;

/// The real copy, with the name of every source it was given.
struct RecordingCopyService : CopyService {
    bool Copy(const fs::path& source, const fs::path& destination, std::string* error) override {
        calls.push_back(source.filename().string());
        return real.Copy(source, destination, error);
    }
    FileSystemCopyService real;
    std::vector<std::string> calls;
};

/// src/P.vbp with frmMain (frm + frx), modA and clsC, all rows selected; copies go to backup/.
struct BackupTree {
    ScratchDir t;
    testing::HostFixture f;
    ide::Project project;
    engine::PlainFileList lst;
    RecordingCopyService copier;
    std::string out = Folder(t, "backup").string();

    BackupTree() {
        project.SetFileName(Put(t, "src/P.vbp", "Type=Exe\r\n"));
        Add("frmMain", {"src/frmMain.frm", "src/frmMain.frx"});
        Add("modA", {"src/modA.bas"});
        Add("clsC", {"src/clsC.cls"});
        f.host.activeProject = &project;
    }
    void Add(const std::string& name, const std::vector<std::string>& files) {
        for (const auto& file : files) Put(t, file, "bytes of " + file);
        project.VBComponents().emplace_back(name, ide::ComponentKind::Module, t / files[0], nullptr);
        for (size_t i = 1; i < files.size(); ++i) project.VBComponents().back().AddFile(t / files[i]);
        lst.AddItem(name);
        lst.SetSelected(lst.ListCount() - 1, true);
    }
    BackupOutcome Backup() { return CreateBackUp(f.host, out, lst, copier); }
    std::set<std::string> Copied() const { return Names(out); }
};

struct BackupTest : ::testing::Test, BackupTree {};

TEST_F(BackupTest, CopiesTheProjectFileThenEverySelectedFileUnderItsDiskName) {
    Put(t, "backup/modA.bas", "an older copy");
    // The component spells its file in another letter case: the copy takes the name on disk.
    project.VBComponents()[2] = ide::Component("clsC", ide::ComponentKind::Class, t / "src/CLSC.CLS", nullptr);
    const auto outcome = Backup();
    EXPECT_EQ(copier.calls, (std::vector<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}));
    EXPECT_EQ(Copied(), (std::set<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}));
    EXPECT_EQ(ReadFile(t / "backup/modA.bas"), "bytes of src/modA.bas");  // replaced without a question
    EXPECT_EQ(outcome.copied, 5);
    EXPECT_TRUE(f.prompter.asked.empty() && f.report.Reported().empty());
    EXPECT_EQ(f.percentProject.Max(), 3);
    EXPECT_EQ(lst.ListIndex(), 2);
}

TEST(Backup, SelectionFailuresAndTheStopQuestion) {
    const struct {
        const char* what;
        std::vector<bool> selected;  // rows frmMain, modA, clsC
        const char* missing;         // removed before the run
        std::deque<int> answers;     // to the stop question
        std::set<std::string> copied;
        size_t questions;
        bool stopped;
    } scenarios[] = {
        {"no row selected: the project file only", {false, false, false}, "", {}, {"P.vbp"}, 0, false},
        {"failed project file: nothing asked, the rest copied", {true, true, true}, "src/P.vbp", {},
         {"frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}, 0, false},
        {"Retry repeats until Cancel at the second component; the third is not looked at", {true, true, true},
         "src/modA.bas", {kRetry, kRetry, kCancel}, {"P.vbp", "frmMain.frm", "frmMain.frx"}, 3, true},
        {"any answer but Retry stops", {true, true, true}, "src/frmMain.frx", {errors::answer::kOk},
         {"P.vbp", "frmMain.frm"}, 1, true},
        {"an unselected missing file asks nothing", {true, false, true}, "src/modA.bas", {},
         {"P.vbp", "frmMain.frm", "frmMain.frx", "clsC.cls"}, 0, false},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        BackupTree b;
        for (int16_t i = 0; i < 3; ++i) b.lst.SetSelected(i, s.selected[static_cast<size_t>(i)]);
        if (*s.missing) fs::remove(b.t / s.missing);
        b.f.prompter.script = s.answers;
        const auto outcome = b.Backup();
        EXPECT_EQ(b.Copied(), s.copied);
        ASSERT_EQ(b.f.prompter.asked.size(), s.questions);
        for (const auto& q : b.f.prompter.asked) {
            EXPECT_EQ(q.text, "Do you want to stop now ?");
            EXPECT_EQ(q.title, "");
            EXPECT_EQ(q.style, 293);
        }
        EXPECT_EQ(outcome.stopped, s.stopped);
        EXPECT_EQ(outcome.failed, std::string(s.missing) == "src/P.vbp" || s.stopped ? 1 : 0);
        // Stopped or not, the run ends with the default pointer and both bars at 0.
        EXPECT_EQ(b.f.screen.pointer, engine::Pointer::Default);
        EXPECT_EQ(b.f.percentProject.Value() + b.f.percentFile.Value(), 0);
    }
}

TEST_F(BackupTest, RetryCopiesAFileThatCameBack) {
    fs::remove(t / "src/clsC.cls");
    struct : errors::Prompter {
        ScratchDir* t = nullptr;
        int asked = 0;
        int MsgBox(const errors::Message&) override {
            Put(*t, "src/clsC.cls", "back");  // the user puts the file back, then answers Retry
            return ++asked < 3 ? kRetry : kCancel;
        }
    } restoring;
    restoring.t = &t;
    engine::Host host{&project, f.percentProject, f.percentFile, f.screen,  f.result,
                      f.store,  f.report,         restoring,     f.notices, f.clock};
    EXPECT_EQ(CreateBackUp(host, out, lst, copier).copied, 5);
    EXPECT_EQ(restoring.asked, 1);
    EXPECT_EQ(ReadFile(t / "backup/clsC.cls"), "back");
}

TEST_F(BackupTest, TwoFilesOfOneNameAreBothKept) {
    Add("modUtil", {"src/modUtil.bas"});
    Add("modUtil2", {"lib/modUtil.bas"});
    lst.AddItem("modA");  // a row listed twice copies the same file twice, under one name
    lst.SetSelected(lst.ListCount() - 1, true);
    EXPECT_EQ(Backup().renamed, 1);
    EXPECT_EQ(ReadFile(t / "backup/modUtil.bas"), "bytes of src/modUtil.bas");
    EXPECT_EQ(ReadFile(t / "backup/modUtil (2).bas"), "bytes of lib/modUtil.bas");
    ASSERT_EQ(f.notices.notices.size(), 1u);
    EXPECT_NE(f.notices.notices[0].find("lib/modUtil.bas is stored as \"modUtil (2).bas\""), std::string::npos);
}

TEST_F(BackupTest, ErrorsGoToTheReportWithTheirTags) {
    f.host.activeProject = nullptr;  // reported; Abort leaves at once
    EXPECT_TRUE(Backup().aborted);
    ASSERT_EQ(f.report.Reported().size(), 1u);
    EXPECT_EQ(f.report.Reported()[0].procedure, "CreateBackUp");

    struct : CopyService {
        bool Copy(const fs::path&, const fs::path&, std::string*) override {
            throw errors::RuntimeError(errors::code::kPermissionDenied, "Permission denied");
        }
    } throwing;
    f.host.activeProject = &project;
    f.report.answers = {"5", "3"};  // the project file's copy: Ignore; the first component file's: Abort
    const auto outcome = CreateBackUp(f.host, out, lst, throwing);
    ASSERT_EQ(f.report.Reported().size(), 3u);
    EXPECT_EQ(f.report.Reported()[2].procedure, "Public Function fApiCopyFile");
    EXPECT_EQ(f.prompter.asked.size(), 1u);  // an aborted copy answers false: the stop question follows
    EXPECT_EQ(outcome.failed, 2);
}

TEST(FApiCopyFile, AFolderDestinationReceivesTheFilesUnderTheirNames) {
    ScratchDir t;
    testing::HostFixture f;
    FileSystemCopyService copier;
    const auto a = Put(t, "a.bas", "a"), b = Put(t, "b.bas", "b");
    EXPECT_TRUE(fApiCopyFile(f.host, copier, Folder(t, "two").string(), {copy_flag::kNoConfirmation, {a, b}}));
    EXPECT_TRUE(fApiCopyFile(f.host, copier, Folder(t, "one").string(), {copy_flag::kNoConfirmation, {a}}));
    EXPECT_EQ(Names(t / "two"), (std::set<std::string>{"a.bas", "b.bas"}));
    EXPECT_EQ(Names(t / "one"), std::set<std::string>{"a.bas"});
    EXPECT_FALSE(fApiCopyFile(f.host, copier, (t / "c.bas").string(), {0, {}}));
}

}  // namespace
}  // namespace vex::backup
