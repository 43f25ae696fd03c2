#include "backup/backup.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "ide/project.h"
#include "temp_tree.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using errors::answer::kCancel;
using errors::answer::kRetry;
using testing::TempTree;

/// The real copy, with every call recorded.
class RecordingCopyService : public CopyService {
public:
    bool Copy(const fs::path& source, const fs::path& destination, std::string* error) override {
        calls.push_back(source.filename().string());
        return real.Copy(source, destination, error);
    }
    FileSystemCopyService real;
    std::vector<std::string> calls;  // source names, in order
};

/// A project on disk: P.vbp; frmMain (frm + frx), modA, clsC, each in the temporary tree.
struct BackupTree {
    TempTree t;
    testing::HostFixture f;
    ide::Project project;
    engine::PlainFileList lst;
    RecordingCopyService copier;
    std::string out;

    BackupTree() {
        project.SetFileName(t.Write("src/P.vbp", "Type=Exe\r\n"));
        AddComponent("frmMain", {"src/frmMain.frm", "src/frmMain.frx"});
        AddComponent("modA", {"src/modA.bas"});
        AddComponent("clsC", {"src/clsC.cls"});
        out = t.MakeDir("backup").string();
        f.host.activeProject = &project;
    }
    void AddComponent(const std::string& name, const std::vector<std::string>& files, bool write = true) {
        for (const auto& file : files)
            if (write) t.Write(file, "bytes of " + file);
        project.VBComponents().emplace_back(name, ide::ComponentKind::Module, t / files[0], nullptr);
        for (size_t i = 1; i < files.size(); ++i) project.VBComponents().back().AddFile(t / files[i]);
        lst.AddItem(name);
        lst.SetSelected(lst.ListCount() - 1, true);
    }
    BackupOutcome Backup() { return CreateBackUp(f.host, out, lst, copier); }
    std::set<std::string> Copied() const { return TempTree::Names(out); }
};

struct BackupTest : ::testing::Test, BackupTree {};

TEST_F(BackupTest, CopiesTheProjectFileThenEverySelectedFileUnderItsDiskName) {
    t.Write("backup/modA.bas", "an older copy");
    // The component names its file in another letter case: the copy takes the name on disk.
    project.VBComponents()[2] = ide::Component("clsC", ide::ComponentKind::Class, t / "src/CLSC.CLS", nullptr);

    const auto outcome = Backup();
    EXPECT_EQ(copier.calls, (std::vector<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}));
    EXPECT_EQ(Copied(), (std::set<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}));
    EXPECT_EQ(TempTree::Read(t / "backup/modA.bas"), "bytes of src/modA.bas");  // replaced without a question
    EXPECT_EQ(TempTree::Read(t / "backup/frmMain.frx"), "bytes of src/frmMain.frx");
    EXPECT_EQ(outcome.copied, 5);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_FALSE(outcome.stopped || outcome.aborted);
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_TRUE(f.report.Reported().empty());
    // The end: default pointer, both bars at 0, the last component's row current.
    EXPECT_EQ(f.screen.pointer, engine::Pointer::Default);
    EXPECT_EQ(f.percentProject.Max(), 3);
    EXPECT_EQ(f.percentProject.Value(), 0);
    EXPECT_EQ(f.percentFile.Value(), 0);
    EXPECT_EQ(lst.ListIndex(), 2);
}

struct Scenario {
    const char* what;
    std::vector<bool> selected;         // rows frmMain, modA, clsC
    std::vector<std::string> missing;   // files removed before the run
    std::deque<int> answers;            // to the stop question
    std::set<std::string> copied;       // names in the backup directory afterwards
    size_t questions;
    long failed;
    bool stopped;
};

TEST(Backup, SelectionFailuresAndTheStopQuestion) {
    const Scenario scenarios[] = {
        {"no row selected: the project file only", {false, false, false}, {}, {}, {"P.vbp"}, 0, 0, false},
        {"one row", {false, true, false}, {}, {}, {"P.vbp", "modA.bas"}, 0, 0, false},
        {"failed project file: nothing asked, the rest copied", {true, true, true}, {"src/P.vbp"}, {},
         {"frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}, 0, 1, false},
        {"Retry repeats until Cancel", {true, true, true}, {"src/modA.bas"}, {kRetry, kRetry, kCancel},
         {"P.vbp", "frmMain.frm", "frmMain.frx"}, 3, 1, true},
        {"any answer but Retry stops", {true, true, true}, {"src/frmMain.frx"}, {errors::answer::kOk},
         {"P.vbp", "frmMain.frm"}, 1, 1, true},
        {"an unselected missing file asks nothing", {true, false, true}, {"src/modA.bas"}, {},
         {"P.vbp", "frmMain.frm", "frmMain.frx", "clsC.cls"}, 0, 0, false},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        BackupTree b;
        for (int16_t i = 0; i < 3; ++i) b.lst.SetSelected(i, s.selected[static_cast<size_t>(i)]);
        for (const auto& m : s.missing) fs::remove(b.t / m);
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
        EXPECT_EQ(outcome.copied, static_cast<long>(s.copied.size()));
        EXPECT_EQ(outcome.failed, s.failed);
        // Each failed copy said why (the project file's too, though nothing is asked).
        EXPECT_EQ(b.f.notices.notices.size(), s.questions + (s.missing == std::vector<std::string>{"src/P.vbp"}));
        // Whether stopped or not, the run ends with the default pointer and the bars at 0.
        EXPECT_EQ(b.f.screen.pointer, engine::Pointer::Default);
        EXPECT_EQ(b.f.percentProject.Value(), 0);
        EXPECT_EQ(b.f.percentFile.Value(), 0);
    }
}

TEST_F(BackupTest, RetryCopiesTheFileOnceItIsBack) {
    fs::remove(t / "src/clsC.cls");
    struct Restoring : errors::Prompter {
        TempTree* t = nullptr;
        int asked = 0;
        int MsgBox(const errors::Message&) override {
            t->Write("src/clsC.cls", "back");  // the user puts the file back, then answers Retry
            return ++asked < 3 ? kRetry : kCancel;
        }
    } restoring;
    restoring.t = &t;
    engine::Host host{&project, f.percentProject, f.percentFile, f.screen, f.result,
                      f.store,  f.report,         restoring,     f.notices, f.clock};
    const auto outcome = CreateBackUp(host, out, lst, copier);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(restoring.asked, 1);
    EXPECT_EQ(outcome.copied, 5);
    EXPECT_EQ(TempTree::Read(t / "backup/clsC.cls"), "back");
}

TEST_F(BackupTest, CancelAtTheSecondComponentKeepsTheFirstAndLooksNoFurther) {
    fs::remove(t / "src/modA.bas");
    f.prompter.script = {kCancel};
    const auto outcome = Backup();
    EXPECT_EQ(Copied(), (std::set<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx"}));
    EXPECT_EQ(copier.calls, (std::vector<std::string>{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas"}));
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(lst.ListIndex(), 1);  // clsC's row was never reached
}

TEST_F(BackupTest, TwoFilesOfOneNameAreBothKept) {
    AddComponent("modUtil", {"src/modUtil.bas"});
    AddComponent("modUtil2", {"lib/modUtil.bas"});
    const auto outcome = Backup();
    EXPECT_EQ(TempTree::Read(t / "backup/modUtil.bas"), "bytes of src/modUtil.bas");
    EXPECT_EQ(TempTree::Read(t / "backup/modUtil (2).bas"), "bytes of lib/modUtil.bas");
    EXPECT_EQ(outcome.renamed, 1);
    ASSERT_EQ(f.notices.notices.size(), 1u);
    EXPECT_NE(f.notices.notices[0].find("\"modUtil (2).bas\""), std::string::npos) << f.notices.notices[0];
    EXPECT_NE(f.notices.notices[0].find("lib/modUtil.bas"), std::string::npos) << f.notices.notices[0];

    // A row listed twice copies the same files twice: no rename for the same file.
    lst.AddItem("modA");
    lst.SetSelected(lst.ListCount() - 1, true);
    f.notices.notices.clear();
    EXPECT_EQ(Backup().renamed, 1);
    EXPECT_EQ(f.notices.notices.size(), 1u);
}

TEST_F(BackupTest, RowsDecideByExactName) {
    lst.Clear();
    for (const char* row : {"clsC", "MODA", "frmMain"}) lst.AddItem(row);
    lst.SetSelected(0, true);
    lst.SetSelected(1, true);   // differs in case only: modA is passed over
    lst.SetSelected(2, false);
    Backup();
    EXPECT_EQ(Copied(), (std::set<std::string>{"P.vbp", "clsC.cls"}));
    EXPECT_EQ(f.percentProject.Max(), 3);
}

TEST_F(BackupTest, ErrorsGoToTheReportWithTheirTags) {
    // No active project: reported; Abort leaves at once.
    f.host.activeProject = nullptr;
    auto outcome = Backup();
    ASSERT_EQ(f.report.Reported().size(), 1u);
    EXPECT_EQ(f.report.Reported()[0].procedure, "CreateBackUp");
    EXPECT_TRUE(outcome.aborted);
    EXPECT_EQ(f.screen.pointer, engine::Pointer::Hourglass);

    // A copy service that throws: fApiCopyFile reports it and answers false; the stop question follows.
    struct Throwing : CopyService {
        bool Copy(const fs::path&, const fs::path&, std::string*) override {
            throw errors::RuntimeError(errors::code::kPermissionDenied, "Permission denied");
        }
    } throwing;
    f.host.activeProject = &project;
    f.report.answers = {"5", "3"};  // project file: Ignore; first component file: Abort
    f.prompter.script = {kCancel};
    outcome = CreateBackUp(f.host, out, lst, throwing);
    ASSERT_EQ(f.report.Reported().size(), 3u);
    EXPECT_EQ(f.report.Reported()[1].procedure, "Public Function fApiCopyFile");
    EXPECT_EQ(f.report.Reported()[2].procedure, "Public Function fApiCopyFile");
    EXPECT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_TRUE(outcome.stopped);
}

TEST(FApiCopyFile, SeveralSourcesGoIntoTheDestinationFolder) {
    TempTree t;
    testing::HostFixture f;
    FileSystemCopyService copier;
    const auto a = t.Write("a.bas", "a");
    const auto b = t.Write("b.bas", "b");
    const auto out = t.MakeDir("out");
    EXPECT_TRUE(fApiCopyFile(f.host, copier, out.string(), {copy_flag::kNoConfirmation, {a, b}}));
    EXPECT_EQ(TempTree::Names(out), (std::set<std::string>{"a.bas", "b.bas"}));
    // One source and a folder: the copy goes into it, as the shell does.
    EXPECT_TRUE(fApiCopyFile(f.host, copier, t.MakeDir("one").string(), {copy_flag::kNoConfirmation, {a}}));
    EXPECT_EQ(TempTree::Read(t / "one/a.bas"), "a");
    EXPECT_FALSE(fApiCopyFile(f.host, copier, (out / "c.bas").string(), {copy_flag::kNoConfirmation, {}}));
    EXPECT_FALSE(fApiCopyFile(f.host, copier, (out / "c.bas").string(), {0, {t / "c.bas"}}));
    ASSERT_EQ(f.notices.notices.size(), 1u);
    EXPECT_NE(f.notices.notices[0].find("c.bas"), std::string::npos);
}

}  // namespace
}  // namespace vex::backup
