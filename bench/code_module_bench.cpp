// How the code module holds up under the engine's access pattern: one ProcOfLine per line, interleaved
// with edits. Target: a 60,000-line module, 60,000 ProcOfLine calls and edits, well under a second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "ide/project_loader.h"
#include "ide/source_module.h"

namespace {

// 60,000 lines: 2,000 procedures of 30 lines each, with a comment above every one.
std::string LargeModule() {
    std::string s = "Attribute VB_Name = \"modBig\"\r\nOption Explicit\r\n";
    for (int p = 0; p < 2000; ++p) {
        s += "' procedure " + std::to_string(p) + "\r\n";
        s += "Public Function F" + std::to_string(p) + "(ByVal a As Long) As Long\r\n";
        for (int i = 0; i < 26; ++i) s += "    a = a + " + std::to_string(i) + "\r\n";
        s += "End Function\r\n\r\n";
    }
    return s;
}

// Numbering-like pass: every line inside a procedure but its declaration replaced in place, ProcOfLine
// asked for each line.
void BM_ReplaceEveryLine(benchmark::State& state) {
    const std::string text = LargeModule();
    for (auto _ : state) {
        auto m = vex::ide::SourceModule::Parse(text);
        vex::ide::ProcKind kind;
        for (long j = 1; j <= m->CountOfLines(); ++j) {
            const std::string name = m->ProcOfLine(j, kind);
            if (name.empty() || j == m->ProcBodyLine(name, kind)) continue;
            m->ReplaceLine(j, "10 " + m->Lines(j, 1));
        }
    }
    state.SetItemsProcessed(state.iterations() * 60000);
}
BENCHMARK(BM_ReplaceEveryLine)->Unit(benchmark::kMillisecond);

// Error-handler-like pass: a block inserted after every declaration and before every End, the module
// growing as it is walked, with ProcOfLine and ProcBodyLine asked for each line.
void BM_InsertBlocksWhileWalking(benchmark::State& state) {
    const std::string text = LargeModule();
    for (auto _ : state) {
        auto m = vex::ide::SourceModule::Parse(text);
        vex::ide::ProcKind kind;
        for (long j = 1; j <= m->CountOfLines(); ++j) {
            const std::string name = m->ProcOfLine(j, kind);
            if (name.empty()) continue;
            const std::string line = m->Lines(j, 1);
            if (j == m->ProcBodyLine(name, kind)) {
                m->ReplaceLine(j, line + "\r\n'## x ##\r\nOn Error GoTo E\r\n'## x ##");
            } else if (line == "End Function") {
                m->ReplaceLine(j, "'## x ##\r\nExit Function\r\nE:\r\n'## x ##\r\n" + line);
                j += 4;
            }
        }
    }
}
BENCHMARK(BM_InsertBlocksWhileWalking)->Unit(benchmark::kMillisecond);

// Loading the largest real-world project of the corpus, when it is there.
void BM_LoadCorpusProject(benchmark::State& state) {
    const std::filesystem::path vbp =
        std::filesystem::path(VEXTOOLS_SOURCE_DIR) / "../shared/corpus/vbccr/ActiveX Control Version/VBCCR18.vbp";
    if (!std::filesystem::exists(vbp)) {
        state.SkipWithError("corpus absent (../shared/corpus)");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(vex::ide::LoadWorkspace(vbp));
}
BENCHMARK(BM_LoadCorpusProject)->Unit(benchmark::kMillisecond);

}  // namespace
