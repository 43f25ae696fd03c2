// The save a run ends with gives the same files whenever the run handed it its components: staged early,
// late, twice, out of order, edited after staging, or not at all; dropped unfinished, it saves nothing.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/scratch_dir.h"
#include "ide/end_of_run_save.h"
#include "ide/project_loader.h"
#include "ide/source_module.h"
#include "util/save_probe.h"

namespace vex::ide {
namespace {

constexpr int kModules = 4;

std::string Name(int k) { return "m" + std::to_string(k) + ".bas"; }
std::string Text(int k, const std::string& value) {
    return "Attribute VB_Name = \"m" + std::to_string(k) + "\"\r\nSub Go()\r\n    x = " + value + "\r\nEnd Sub\r\n";
}

// One step of a run: edit module `k` to `value`; stage it when `value` is empty.
struct Step {
    int k;
    std::string value;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    bool finish = true;
    int changedOnDisk = -1;  // this module's file gets the text "d" from another program once it is staged
};

// Another program writing a file while the run goes on: once the save has checked it and written the
// temporary file beside it.
class OtherWriter : public util::SaveProbe {
public:
    OtherWriter(std::filesystem::path file, std::string text) : file_(std::move(file)), text_(std::move(text)) {}
    int At(util::SaveStep step, const std::filesystem::path& target) override {
        if (step != util::SaveStep::Written || target != file_ || done_) return 0;
        done_ = true;
        vex::testing::WriteFile(file_, text_);
        std::filesystem::last_write_time(file_, std::filesystem::last_write_time(file_) + std::chrono::hours(1));
        return 0;
    }

private:
    std::filesystem::path file_;
    std::string text_;
    bool done_ = false;
};

TEST(EndOfRunSave, SavesTheLastTextOfEveryChangedModuleWhateverWasStaged) {
    const std::vector<Case> cases = {
        {"nothing staged", {{0, "a"}, {2, "b"}}},
        {"each staged once done, in order", {{0, "a"}, {0, ""}, {1, ""}, {2, "b"}, {2, ""}, {3, ""}}},
        {"edited again after staging", {{0, "a"}, {0, ""}, {0, "c"}, {1, "b"}, {1, ""}}},
        {"staged out of order", {{2, "b"}, {2, ""}, {0, "a"}, {0, ""}}},
        {"staged twice", {{1, "a"}, {1, ""}, {1, ""}}},
        {"one passed over was changed", {{1, "a"}, {0, ""}, {2, ""}}},
        {"staged unchanged, then nothing changes", {{0, ""}, {3, ""}}},
        {"dropped before the end", {{0, "a"}, {0, ""}, {1, "b"}}, false},
        {"changed on disk after staging", {{0, "a"}, {0, ""}, {1, "b"}, {1, ""}}, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vex::testing::ScratchDir dir;
        std::string vbp = "Type=Exe\r\n";
        for (int k = 0; k < kModules; ++k) {
            vex::testing::WriteFile(dir / Name(k), Text(k, "0"));
            vbp += "Module=m" + std::to_string(k) + "; " + Name(k) + "\r\n";
        }
        vex::testing::WriteFile(dir / "P.vbp", vbp);
        auto ws = LoadWorkspace(dir / "P.vbp");
        auto& components = ws.ActiveVBProject()->VBComponents();

        std::map<int, std::string> expected;  // what each module should hold on disk
        for (int k = 0; k < kModules; ++k) expected[k] = Text(k, "0");
        size_t refused = 0;
        std::unique_ptr<OtherWriter> other;
        if (c.changedOnDisk >= 0) {
            other = std::make_unique<OtherWriter>(dir / Name(c.changedOnDisk), Text(c.changedOnDisk, "d"));
            refused = 1;
        }
        util::SaveProbe* const before = util::SetSaveProbe(other.get());
        auto save = std::make_unique<EndOfRunSave>(*ws.ActiveVBProject());
        for (const auto& step : c.steps) {
            if (step.value.empty()) {
                save->Stage(components[step.k]);
                continue;
            }
            components[step.k].GetCodeModule().ReplaceLine(2, "    x = " + step.value);
            if (c.finish) expected[step.k] = Text(step.k, step.value);
        }
        if (c.changedOnDisk >= 0) expected[c.changedOnDisk] = Text(c.changedOnDisk, "d");
        long changed = 0;
        for (int k = 0; k < kModules; ++k) changed += expected[k] != Text(k, "0");
        const long saved = changed - static_cast<long>(refused);

        std::map<std::string, std::string> want = {{"P.vbp", vbp}};
        for (int k = 0; k < kModules; ++k) want[Name(k)] = expected[k];
        if (c.finish) {
            const ProjectSave outcome = save->Finish();
            EXPECT_EQ(outcome.failures.size(), refused);
            EXPECT_EQ(outcome.saved.size(), static_cast<size_t>(saved));
            EXPECT_EQ(outcome.linesChanged, changed);  // one line per changed module
        }
        save.reset();
        util::SetSaveProbe(before);
        // Also no temporary file left behind.
        EXPECT_EQ(vex::testing::Listing(dir.Path()), want);
    }
}

TEST(EndOfRunSave, RefusesAComponentOfAnotherProject) {
    vex::testing::ScratchDir dir;
    vex::testing::WriteFile(dir / "a.bas", Text(0, "0"));
    auto one = LoadWorkspace(dir / "a.bas");
    auto other = LoadWorkspace(dir / "a.bas");
    EndOfRunSave save(*one.ActiveVBProject());
    EXPECT_THROW(save.Stage(other.ActiveVBProject()->VBComponents().front()), std::invalid_argument);
}

}  // namespace
}  // namespace vex::ide
