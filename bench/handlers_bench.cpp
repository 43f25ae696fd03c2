// Error-handler insertion, removal and indentation over one large generated module.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/add_code_error.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/remove_code_error.h"
#include "engine/result_window.h"
#include "engine/study_tabulation.h"
#include "errors/error_report.h"
#include "host/prompter.h"
#include "ide/project.h"
#include "ide/source_module.h"
#include "settings/memory_settings_store.h"

namespace {

using namespace vex;

class AbortingReport : public errors::ErrorReport {
public:
    host::Answer gestErreur(std::string_view, const errors::RuntimeError&, long,
                            const std::optional<std::string>& = std::nullopt) override {
        reported_.push_back({});
        return host::Answer::Abort;
    }
    const std::vector<errors::ReportedError>& Reported() const override { return reported_; }

private:
    std::vector<errors::ReportedError> reported_;
};

class OkPrompter : public host::Prompter {
public:
    host::Answer MsgBox(const host::Message&) override { return host::Answer::Ok; }
};

/// `procedures` procedures of ten lines each, with a block If and a loop.
std::string Module(int procedures) {
    std::string text = "Option Explicit\r\n";
    for (int p = 0; p < procedures; ++p) {
        const std::string n = std::to_string(p);
        text += "\r\n' procedure " + n + "\r\nPrivate Function F" + n +
                "(ByVal a As Long) As Long\r\nDim i As Long\r\n"
                "For i = 1 To a\r\nIf i > 2 Then\r\nF" +
                n + " = F" + n + " + i\r\nEnd If\r\nNext\r\nEnd Function\r\n";
    }
    return text;
}

struct Fixture {
    explicit Fixture(int procedures) {
        project.VBComponents().emplace_back("modBig", ide::ComponentKind::Module, "modBig.bas",
                                            ide::SourceModule::Parse(Module(procedures)));
        lst.AddItem("modBig");
        lst.SetSelected(0, true);
        store.Save("ViewResult", "0");
    }
    ide::Project project;
    engine::PlainFileList lst;
    host::PlainProgressBar bar1, bar2;
    host::NullScreen screen;
    host::StringResultLog result;
    settings::MemorySettingsStore store;
    AbortingReport report;
    OkPrompter prompter;
    host::NullNotices notices;
    host::SystemClock clock;
    engine::NullResultWindow window;
    engine::Host host{&project, bar1, bar2, screen, result, store, report, prompter, notices, clock};
};

// 3,000 procedures: about 30,000 lines before insertion, 81,000 after.
void BM_AddThenRemoveHandlers(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Fixture f(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        engine::AddCodeError(f.host, f.lst, f.window);
        engine::RemoveCodeError(f.host, f.lst, f.window);
        if (!f.report.Reported().empty()) state.SkipWithError("an error was reported");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddThenRemoveHandlers)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_Indent(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Fixture f(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        engine::StudyTabulation(f.host, f.lst);
        if (!f.report.Reported().empty()) state.SkipWithError("an error was reported");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Indent)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
