// Line numbering and keyword deletion over large modules, as the command line runs them.
// Target: a 30,000-line module (near the 16-bit line limit) numbered or cleared well under a second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "engine/project_list.h"
#include "errors/error_report.h"
#include "host/prompter.h"
#include "ide/project.h"
#include "ide/project_loader.h"
#include "ide/source_module.h"
#include "settings/memory_settings_store.h"

namespace {

using namespace vex;

class QuietReport : public errors::ErrorReport {
public:
    host::Answer gestErreur(std::string_view, const errors::RuntimeError&, long,
                           const std::optional<std::string>&) override {
        return host::Answer::Abort;
    }
    const std::vector<errors::ReportedError>& Reported() const override { return none_; }

private:
    std::vector<errors::ReportedError> none_;
};

class OkPrompter : public host::Prompter {
public:
    host::Answer MsgBox(const host::Message&) override { return host::Answer::Ok; }
};

struct BenchHost {
    host::PlainProgressBar project, file;
    host::NullScreen screen;
    host::StringResultLog result;
    settings::MemorySettingsStore store;
    QuietReport report;
    OkPrompter prompter;
    host::NullNotices notices;
    host::SystemClock clock;
    engine::Host host{nullptr, project, file, screen, result, store, report, prompter, notices, clock};
};

// 30,000 lines: 1,000 procedures of 30 lines, with a Debug.Print and a continued statement in each.
std::string LargeModule() {
    std::string s = "Attribute VB_Name = \"modBig\"\r\nOption Explicit\r\n";
    for (int p = 0; p < 1000; ++p) {
        s += "' procedure " + std::to_string(p) + "\r\n";
        s += "Public Function F" + std::to_string(p) + "(ByVal a As Long) As Long\r\n";
        s += "    Dim b As Long\r\n    Debug.Print a\r\n    b = a + _\r\n        1\r\n";
        for (int i = 0; i < 21; ++i) s += "    a = a + " + std::to_string(i) + "\r\n";
        s += "End Function\r\n\r\n";
    }
    return s;
}

ide::Project OneModule(const std::string& text) {
    ide::Project p;
    p.VBComponents().emplace_back("modBig", ide::ComponentKind::Module, "modBig.bas", ide::SourceModule::Parse(text));
    return p;
}

void BM_NumberThenUnnumber30kLines(benchmark::State& state) {
    const std::string text = LargeModule();
    for (auto _ : state) {
        state.PauseTiming();
        BenchHost b;
        ide::Project project = OneModule(text);
        b.host.activeProject = &project;
        engine::PlainFileList lst;
        engine::LoadProjectFile(b.host, lst);
        state.ResumeTiming();
        engine::StudyLineNumber(b.host, lst, engine::EditMode::Add);
        engine::StudyLineNumber(b.host, lst, engine::EditMode::Remove);
    }
    state.SetItemsProcessed(state.iterations() * 2 * 30000);
}
BENCHMARK(BM_NumberThenUnnumber30kLines)->Unit(benchmark::kMillisecond);

void BM_DeleteDebugPrint30kLines(benchmark::State& state) {
    const std::string text = LargeModule();
    for (auto _ : state) {
        state.PauseTiming();
        BenchHost b;
        ide::Project project = OneModule(text);
        b.host.activeProject = &project;
        engine::PlainFileList lst;
        engine::LoadProjectFile(b.host, lst);
        state.ResumeTiming();
        engine::StudyRemoveCode(b.host, lst, "Debug.Print");
    }
    state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_DeleteDebugPrint30kLines)->Unit(benchmark::kMillisecond);

// The largest real project of the corpus (when present): every component numbered.
void BM_NumberCorpusProject(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path vbp = fs::path(VEXTOOLS_SOURCE_DIR) / ".." / "shared" / "corpus" / "swiftirc" / "SwiftIRC.vbp";
    if (!fs::exists(vbp)) {
        state.SkipWithError("no corpus next to the source tree");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = ide::LoadWorkspace(vbp);
        BenchHost b;
        b.host.activeProject = ws.ActiveVBProject();
        engine::PlainFileList lst;
        engine::LoadProjectFile(b.host, lst);
        state.ResumeTiming();
        engine::StudyLineNumber(b.host, lst, engine::EditMode::Add);
    }
}
BENCHMARK(BM_NumberCorpusProject)->Unit(benchmark::kMillisecond);

}  // namespace
