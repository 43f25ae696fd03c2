// A save stopped at each of its steps, by a kill or a failing system call, leaves every file with its old
// bytes or its new bytes, says which, and leaves no temporary file that a later run does not sweep away.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "fakes/platform.h"
#include "fakes/scratch_dir.h"
#include "ide/end_of_run_save.h"
#include "ide/project_loader.h"
#include "ide/project_saver.h"
#include "ide/source_module.h"
#include "util/save_probe.h"
#include "util/temporary_files.h"

namespace vex::util {
namespace {
namespace fs = std::filesystem;

#ifdef _WIN32
constexpr int kDiskFull = 112;  // ERROR_DISK_FULL
#else
constexpr int kDiskFull = ENOSPC;
#endif

const std::vector<std::string> kModules = {"a.bas", "b.bas", "c.bas"};

std::string Old(const std::string& name) {
    return "Attribute VB_Name = \"" + name.substr(0, 1) + "\"\r\nSub Go()\r\n    x = 1\r\nEnd Sub\r\n";
}
std::string New(const std::string& name) {
    return "Attribute VB_Name = \"" + name.substr(0, 1) + "\"\r\nSub Go()\r\n    x = 2 ' " + std::string(200, 'n') +
           "\r\nEnd Sub\r\n";
}

// A project of three modules in `dir` with their old bytes.
fs::path MakeProject(const fs::path& dir) {
    std::string vbp = "Type=Exe\r\n";
    for (const auto& m : kModules) {
        vex::testing::WriteFile(dir / m, Old(m));
        vbp += "Module=" + m.substr(0, 1) + "; " + m + "\r\n";
    }
    vex::testing::WriteFile(dir / "P.vbp", vbp);
    return dir / "P.vbp";
}

// The two ways to save: the host's, which then holds the saved texts, and the one of a run that ends with
// its save.
enum class Saver { Host, EndOfRun };

// Loads the project, edits every module to its new bytes and saves; what the saver says.
std::vector<ide::SaveFailure> LoadEditSave(const fs::path& vbp, Saver saver = Saver::Host) {
    auto ws = ide::LoadWorkspace(vbp);
    for (auto& c : ws.ActiveVBProject()->VBComponents())
        c.GetCodeModule().ReplaceLine(2, "    x = 2 ' " + std::string(200, 'n'));
    if (saver == Saver::EndOfRun) return ide::EndOfRunSave(*ws.ActiveVBProject()).Finish().failures;
    auto changes = ide::ChangedComponents(*ws.ActiveVBProject());
    auto failures = ide::SaveChanges(changes);
    // What the modules believe must match the disk: a saved one has nothing left to save.
    for (const auto& change : changes) {
        const bool failed =
            std::any_of(failures.begin(), failures.end(), [&](auto& f) { return f.file == change.file; });
        if (change.component->Source().Changed() != failed) failures.push_back({change.file, "module state is wrong"});
    }
    return failures;
}

struct Step {
    SaveStep step;
    std::string file;
};

// Records the steps; acts at the `at`-th of them.
class Probe : public SaveProbe {
public:
    enum class Act { None, Kill, Fail } act = Act::None;
    size_t at = 0;
    std::vector<Step> seen;
    int At(SaveStep step, const fs::path& target) override {
        seen.push_back({step, target.filename().string()});
        if (seen.size() - 1 != at || act == Act::None) return 0;
#ifndef _WIN32
        if (act == Act::Kill) ::kill(::getpid(), SIGKILL);
#endif
        return kDiskFull;
    }
};

class Installed {
public:
    explicit Installed(SaveProbe* p) : previous_(SetSaveProbe(p)) {}
    ~Installed() { SetSaveProbe(previous_); }

private:
    SaveProbe* previous_;
};

// Every step of a save of the three modules, in order.
std::vector<Step> StepsOfASave(Saver saver = Saver::Host) {
    vex::testing::ScratchDir dir;
    Probe probe;
    Installed installed(&probe);
    EXPECT_TRUE(LoadEditSave(MakeProject(dir.Path()), saver).empty());
    return probe.seen;
}

// True when module `name` was renamed into place at or before step `k`.
bool RenamedBy(const std::vector<Step>& steps, size_t k, const std::string& name) {
    for (size_t i = 0; i <= k && i < steps.size(); ++i)
        if (steps[i].step == SaveStep::Renamed && steps[i].file == name) return true;
    return false;
}

// The files of `dir` other than the project's own, by name.
std::vector<std::string> Strays(const fs::path& dir) {
    std::vector<std::string> strays;
    for (const auto& [name, bytes] : vex::testing::Listing(dir))
        if (name != "P.vbp" && std::find(kModules.begin(), kModules.end(), name) == kModules.end())
            strays.push_back(name);
    return strays;
}

TEST(SaveFaults, EveryStepOfASaveIsProbedForEveryFile) {
    for (Saver saver : {Saver::Host, Saver::EndOfRun}) {
        const auto steps = StepsOfASave(saver);
        ASSERT_EQ(steps.size(), 4 * kModules.size());
        // All written, then all flushed, then each renamed in turn.
        for (size_t i = 0; i < kModules.size(); ++i) {
            EXPECT_EQ(steps[i].step, SaveStep::Written);
            EXPECT_EQ(steps[kModules.size() + i].step, SaveStep::Flushed);
            EXPECT_EQ(steps[2 * kModules.size() + 2 * i].step, SaveStep::BeforeRename);
            EXPECT_EQ(steps[2 * kModules.size() + 2 * i + 1].step, SaveStep::Renamed);
            EXPECT_EQ(steps[2 * kModules.size() + 2 * i + 1].file, kModules[i]);
        }
    }
}

TEST(SaveFaults, AFailedStepLeavesOldOrNewBytesAsReportedAndNoTemporaryFile) {
    for (Saver saver : {Saver::Host, Saver::EndOfRun}) {
        const auto steps = StepsOfASave(saver);
        for (size_t k = 0; k < steps.size(); ++k) {
            if (steps[k].step == SaveStep::Renamed) continue;  // done already: nothing to fail
            SCOPED_TRACE("failing step " + std::to_string(k) + " of " + steps[k].file +
                         (saver == Saver::Host ? "" : ", saved at the end of a run"));
            vex::testing::ScratchDir dir;
            const fs::path vbp = MakeProject(dir.Path());
            Probe probe;
            probe.act = Probe::Act::Fail;
            probe.at = k;
            std::vector<ide::SaveFailure> failures;
            {
                Installed installed(&probe);
                failures = LoadEditSave(vbp, saver);
            }
            for (const auto& m : kModules) {
                const bool renamed = RenamedBy(steps, k, m);
                EXPECT_EQ(vex::testing::ReadFile(dir / m), renamed ? New(m) : Old(m)) << m;
                const auto failure =
                    std::find_if(failures.begin(), failures.end(), [&](auto& f) { return f.file == dir / m; });
                EXPECT_EQ(failure == failures.end(), renamed) << m << " reported wrongly";
                if (failure != failures.end()) {
                    EXPECT_NE(failure->message.find(m), std::string::npos) << failure->message;
                }
            }
            EXPECT_EQ(Strays(dir.Path()), std::vector<std::string>{});
            EXPECT_TRUE(LoadEditSave(vbp, saver).empty()) << "the next save completes";
            for (const auto& m : kModules) EXPECT_EQ(vex::testing::ReadFile(dir / m), New(m));
        }
    }
}

#ifndef _WIN32
// Runs `body` in a child process; its exit status.
template <class Body>
int InChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}
#endif

TEST(SaveFaults, AKillAtAnyStepLeavesOldOrNewBytesAndTheNextRunSweepsItsTemporaryFiles) {
    VEX_SKIP_ON_WINDOWS("needs fork and signals");
#ifndef _WIN32
    const auto steps = StepsOfASave();
    for (size_t k = 0; k < steps.size(); ++k) {
        SCOPED_TRACE("killed at step " + std::to_string(k) + " of " + steps[k].file);
        vex::testing::ScratchDir dir;
        const fs::path vbp = MakeProject(dir.Path());
        const int status = InChild([&] {
            Probe probe;
            probe.act = Probe::Act::Kill;
            probe.at = k;
            Installed installed(&probe);
            LoadEditSave(vbp);
            return 0;
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        size_t staged = 0;  // temporary files written and not yet renamed when the kill came
        for (size_t i = 0; i <= k; ++i) staged += steps[i].step == SaveStep::Written;
        for (const auto& m : kModules) {
            const bool renamed = RenamedBy(steps, k, m);
            staged -= renamed;
            EXPECT_EQ(vex::testing::ReadFile(dir / m), renamed ? New(m) : Old(m)) << m;
        }
        const auto strays = Strays(dir.Path());
        EXPECT_EQ(strays.size(), staged);
        for (const auto& name : strays) {
            const auto owner = TemporaryOwner(name);
            EXPECT_TRUE(owner && *owner != CurrentProcessId() && !ProcessRunning(*owner)) << name;
        }
        EXPECT_TRUE(LoadEditSave(vbp).empty()) << "the next run saves";
        EXPECT_EQ(Strays(dir.Path()), std::vector<std::string>{}) << "and sweeps what the killed one left";
    }
#endif
}

// A full disk is a row of cli/bad_input_test.cpp.
TEST(TemporaryFiles, OnlyOurNamesOfProcessesNoLongerRunningAreSwept) {
    vex::testing::ScratchDir dir;
    const std::string dead = "999999990";  // beyond any process id the system hands out
    const std::string self = std::to_string(CurrentProcessId());
    const struct {
        std::string name;
        bool swept;
    } cases[] = {
        {".a.bas.vextools-" + dead + "-Ab12Cd", true},
        {".My File.frm.vextools-" + dead + "-x", true},
        {".a.bas.vextools-" + self + "-Ab12Cd", false},  // a save of this process, under way
        {"a.bas.vextools-" + dead + "-Ab12Cd", false},   // not hidden: a user's file
        {".a.bas.vextools-" + dead + "-", false},
        {".a.bas.vextools-" + dead + "-ab.cd", false},
        {".a.bas.vextools-" + dead + "x-ab", false},
        {".a.bas.vextools-abc-def", false},
        {".vextools-" + dead + "-abc", false},
        {".a.bas.vextools-XXXXXX", false},
        {"a.bas", false},
    };
    for (const auto& c : cases) vex::testing::WriteFile(dir / c.name, "x");
    fs::create_directories(dir / (".d.bas.vextools-" + dead + "-dir"));
    RemoveStaleTemporaries(dir.Path());
    for (const auto& c : cases) EXPECT_EQ(!fs::exists(dir / c.name), c.swept) << c.name;
    EXPECT_TRUE(fs::exists(dir / (".d.bas.vextools-" + dead + "-dir"))) << "folders are never ours";
    EXPECT_EQ(TemporaryPrefix(dir / "a.bas").filename().string(), ".a.bas.vextools-" + self + "-");
}

}  // namespace
}  // namespace vex::util
