#include "backup/backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/host_fixture.h"
#include "fakes/scratch_dir.h"
#include "ide/project.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
constexpr auto kCancel = host::Answer::Cancel;
constexpr auto kRetry = host::Answer::Retry;
using testing::Listing;
using testing::ReadFile;
using testing::WriteFile;

/// src/P.vbp with frmMain (frm + frx), modA and clsC, all rows selected; backup/ holds an older modA.bas.
/// Its questions go to f.prompter, after `beforeAnswer` (what the user does while the question is up).
struct BackupTree : host::Prompter {
    testing::ScratchDir t;
    testing::HostFixture f;
    ide::Project project;
    engine::PlainFileList lst;
    FileSystemCopyService copier;
    fs::path out = t / "backup";
    std::function<void()> beforeAnswer = [] {};
    engine::Host host{&project, f.percentProject, f.percentFile, f.screen,  f.result,
                      f.store,  f.report,         *this,         f.notices, f.clock};

    BackupTree() {
        for (const char* name : {"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"})
            WriteFile(t / "src" / name, std::string("bytes of ") + name);
        WriteFile(out / "modA.bas", "an older copy");
        project.SetFileName(t / "src/P.vbp");
        Add("frmMain", {"src/frmMain.frm", "src/frmMain.frx"});
        Add("modA", {"src/modA.bas"});
        Add("clsC", {"src/CLSC.CLS"});  // the project spells it in other letters than the disk
    }
    void Add(const std::string& name, const std::vector<std::string>& files) {
        project.VBComponents().emplace_back(name, ide::ComponentKind::Module, t / files[0], nullptr);
        for (size_t i = 1; i < files.size(); ++i) project.VBComponents().back().AddFile(t / files[i]);
        lst.AddItem(name);
        lst.SetSelected(lst.ListCount() - 1, true);
    }
    host::Answer MsgBox(const host::Message& m) override {
        beforeAnswer();
        return f.prompter.asked.size() < 9 ? f.prompter.MsgBox(m) : kCancel;  // a run that never stops, stopped
    }
    BackupOutcome Backup(CopyService* service = nullptr) {
        return CreateBackUp(host, out.string(), lst, service ? *service : copier);
    }
};

TEST(CreateBackUp, SelectionFailuresAndTheStopQuestion) {
    const std::set<std::string> all{"P.vbp", "frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"};
    const struct {
        const char* what;
        const char* selected;              // rows frmMain, modA, clsC
        std::vector<std::string> missing;  // removed before the run
        std::deque<host::Answer> answers;           // to the stop question
        std::set<std::string> copied;
        bool putBack = false;              // the user puts the missing file back before answering
    } scenarios[] = {
        {"every row: each file under its disk name, the older copy replaced", "111", {}, {}, all},
        {"no row selected: the project file only", "000", {}, {}, {"P.vbp"}},
        {"failed project file: nothing asked, the rest copied", "111", {"src/P.vbp"}, {},
         {"frmMain.frm", "frmMain.frx", "modA.bas", "clsC.cls"}},
        {"Retry repeats until Cancel at the second component; the third is not looked at", "111", {"src/modA.bas"},
         {kRetry, kRetry, kCancel}, {"P.vbp", "frmMain.frm", "frmMain.frx"}},
        {"any answer but Retry stops; two nameless (missing) files do not clash", "111",
         {"src/P.vbp", "src/frmMain.frx"}, {host::Answer::Ok}, {"frmMain.frm"}},
        {"an unselected missing file asks nothing", "101", {"src/modA.bas"}, {},
         {"P.vbp", "frmMain.frm", "frmMain.frx", "clsC.cls"}},
        {"Retry copies a file put back while the question was up", "111", {"src/clsC.cls"}, {kRetry}, all, true},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        BackupTree b;
        for (int16_t i = 0; i < 3; ++i) b.lst.SetSelected(i, s.selected[i] == '1');
        for (const auto& file : s.missing) fs::remove(b.t / file);
        if (s.putBack) b.beforeAnswer = [&] { WriteFile(b.t / "src/clsC.cls", "bytes of clsC.cls"); };
        b.f.prompter.script = s.answers;
        const auto outcome = b.Backup();

        std::map<std::string, std::string> expected{{"modA.bas", "an older copy"}};
        for (const auto& name : s.copied) expected[name] = "bytes of " + name;
        EXPECT_EQ(Listing(b.out), expected);
        ASSERT_EQ(b.f.prompter.asked.size(), s.answers.size());
        for (const auto& q : b.f.prompter.asked)
            EXPECT_TRUE(q.text == "Do you want to stop now ?" && q.title.empty() && q.style == 293);
        const bool stopped = !s.answers.empty() && s.answers.back() != kRetry;
        EXPECT_EQ(outcome.stopped, stopped);
        EXPECT_EQ(outcome.copied, static_cast<long>(s.copied.size()));
        EXPECT_EQ(outcome.failed, std::count(s.missing.begin(), s.missing.end(), "src/P.vbp") + (stopped ? 1 : 0));
        EXPECT_EQ(outcome.renamed, 0);
        // Stopped or not, the run ends with the default pointer and both bars at 0.
        EXPECT_TRUE(b.f.screen.pointer == host::Pointer::Default && b.f.percentProject.Max() == 3 &&
                    b.f.percentProject.Value() + b.f.percentFile.Value() == 0);
    }
}

TEST(CreateBackUp, FilesOfOneNameAreAllKept) {
    BackupTree b;
    for (const char* file : {"src/modUtil.bas", "lib/modUtil.bas", "old/MODUTIL.BAS", "x/modUtil (2).bas"}) {
        WriteFile(b.t / file, file);
        b.Add(file, {file});
    }
    b.Add("modA again", {"src/../src/modA.bas"});  // the same file by another path keeps its name
    b.lst.AddItem("modA");                         // a row listed twice copies the same file twice, under one name
    b.lst.SetSelected(b.lst.ListCount() - 1, true);
    EXPECT_EQ(b.Backup().renamed, 3);
    const auto copies = Listing(b.out);
    EXPECT_EQ(copies.size(), 9u);
    EXPECT_EQ(copies.at("modUtil.bas"), "src/modUtil.bas");
    EXPECT_EQ(copies.at("modUtil (2).bas"), "lib/modUtil.bas");
    EXPECT_EQ(copies.at("MODUTIL (3).BAS"), "old/MODUTIL.BAS");  // letter case does not keep names apart
    EXPECT_EQ(copies.at("modUtil (2) (2).bas"), "x/modUtil (2).bas");  // nor does a name given out earlier
    ASSERT_EQ(b.f.notices.notices.size(), 3u);
    EXPECT_NE(b.f.notices.notices[0].find((fs::path("lib") / "modUtil.bas").string() + " is stored as \"modUtil (2).bas\""),
              std::string::npos)
        << b.f.notices.notices[0];
    EXPECT_EQ(b.lst.ListIndex(), 7);  // the row of the last component copied
}

TEST(CreateBackUp, ErrorsGoToTheReportWithTheirTags) {
    struct : CopyService {
        bool Copy(const fs::path&, const fs::path&, std::string*) override {
            throw errors::RuntimeError(errors::code::kPermissionDenied, "Permission denied");
        }
    } throwing;
    BackupTree b;
    b.f.report.answers = {host::Answer::Ignore, host::Answer::Abort};  // the project file's copy: Ignore; the first component file's: Abort
    EXPECT_EQ(b.Backup(&throwing).failed, 2);
    EXPECT_EQ(b.f.prompter.asked.size(), 1u);  // an aborted copy answers false: the stop question follows
    b.host.activeProject = nullptr;            // reported; Abort leaves at once
    EXPECT_TRUE(b.Backup().aborted);
    std::vector<std::string> tags;
    for (const auto& e : b.f.report.Reported()) tags.push_back(e.procedure);
    EXPECT_EQ(tags, (std::vector<std::string>{"Public Function fApiCopyFile", "Public Function fApiCopyFile",
                                              "CreateBackUp"}));
}

TEST(CreateBackUp, CopiesThatCannotBePutInPlaceCountAsFailed) {
    struct : CopyService {
        bool Copy(const fs::path&, const fs::path&, std::string*) override { return true; }
        long Finish(std::string* error) override {
            *error = "cannot copy into backup/clsC.cls: cannot flush (Input/output error)";
            return 2;
        }
    } failingAtTheEnd;
    BackupTree b;
    const BackupOutcome outcome = b.Backup(&failingAtTheEnd);
    EXPECT_EQ(outcome.copied, 3);
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_EQ(b.f.notices.notices, std::vector<std::string>{"cannot copy into backup/clsC.cls: cannot flush (Input/output error)"});
}

TEST(FileSystemCopyService, KeepsBytesTimeAndPermissionsReplacesAndFailsCleanly) {
    testing::ScratchDir t;
    const std::string bytes("VERSION 5.00\r\n\x00\xff\x80", 17);
    const auto src = t / "src/frmMain.frx", dst = t / "out/deeper/frmMain.frx";  // its folder is made
    WriteFile(src, bytes);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(src, old);
    fs::permissions(src, fs::perms::owner_read | fs::perms::group_read);
    FileSystemCopyService service;
    std::string why;
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_FALSE(fs::exists(dst)) << "in place at Finish, with the other copies";
    ASSERT_EQ(service.Finish(&why), 0) << why;
    EXPECT_EQ(ReadFile(dst), bytes);
    if (testing::kWindows) {  // whole seconds through the C runtime; only a read-only attribute
        using std::chrono::floor, std::chrono::seconds;
        EXPECT_EQ(floor<seconds>(fs::last_write_time(dst)), floor<seconds>(old));
        EXPECT_EQ(fs::status(dst).permissions() & fs::perms::owner_write, fs::perms::none);
    } else {
        EXPECT_EQ(fs::last_write_time(dst), old);
        EXPECT_EQ(fs::status(dst).permissions(), fs::perms::owner_read | fs::perms::group_read);
    }

    // The read-only copy of an earlier run is replaced.
    fs::permissions(src, fs::perms::owner_read | fs::perms::owner_write);
    WriteFile(src, "new");
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_TRUE(service.Copy(src, t / "src/./frmMain.frx", nullptr));  // onto itself: nothing lost
    ASSERT_EQ(service.Finish(&why), 0) << why;
    EXPECT_EQ(ReadFile(src), "new");

    fs::create_directories(t / "out/deeper/a.bas");
    const struct {
        fs::path source, destination;
        std::string reasonHas;
    } failures[] = {
        {t / "src/missing.bas", dst, "missing.bas"},
        {t / "src", dst, "not a regular file"},
        {src, dst / "a.bas", (fs::path("frmMain.frx") / "a.bas").string()},  // its folder would be a file
        {src, t / "out/deeper/a.bas", "a.bas"},     // a folder is not replaced
    };
    for (const auto& c : failures) {
        std::string reason;
        EXPECT_FALSE(service.Copy(c.source, c.destination, &reason)) << c.destination;
        EXPECT_NE(reason.find(c.reasonHas), std::string::npos) << reason;
    }
    EXPECT_EQ(service.Finish(&why), 0) << why;
    // Failed copies left the destination alone, and no temporary file stays behind.
    EXPECT_EQ(Listing(t / "out/deeper"), (std::map<std::string, std::string>{{"a.bas", ""}, {"frmMain.frx", "new"}}));
}

}  // namespace
}  // namespace vex::backup
