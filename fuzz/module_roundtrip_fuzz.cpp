// Reading a module file and writing it back: whatever parses comes back byte for byte, reads the same a
// second time, and its procedure index covers the lines in order.

#include <string>

#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "ide/source_module.h"
#include "text/cp1252.h"

namespace {

using namespace vex::ide;
using vex::fuzz::Check;

std::vector<std::string> VisibleLines(const SourceModule& m) {
    std::vector<std::string> lines;
    for (long j = 1; j <= m.CountOfLines(); ++j) lines.push_back(m.Lines(j, 1));
    return lines;
}

void CheckIndex(const SourceModule& m, const std::string& bytes) {
    const auto& procs = m.Procedures();
    const long n = m.CountOfLines();
    for (size_t k = 0; k < procs.size(); ++k) {
        const auto& p = procs[k];
        Check(p.start >= 1 && p.start <= p.body && p.body <= p.declarationEnd && p.declarationEnd <= p.end && p.end <= n,
              "a procedure's lines are in order", bytes);
        Check(k == 0 || p.start == procs[k - 1].end + 1, "procedures follow each other", bytes);
        // Lookups by name find the first procedure of that name and kind.
        size_t first = 0;
        while (!(vex::text::IEquals(procs[first].name, p.name) && procs[first].kind == p.kind)) ++first;
        Check(m.ProcBodyLine(p.name, p.kind) == procs[first].body && m.ProcStartLine(p.name, p.kind) == procs[first].start &&
                  m.ProcCountLines(p.name, p.kind) == procs[first].end - procs[first].start + 1,
              "the lookups agree with the index", bytes);
    }
    Check(procs.empty() || procs.back().end == n, "the last procedure owns the module's end", bytes);
    size_t k = 0;
    for (long j = 1; j <= n; ++j) {
        while (k < procs.size() && procs[k].end < j) ++k;
        ProcKind kind;
        const std::string name = m.ProcOfLine(j, kind);
        const bool inside = k < procs.size() && procs[k].start <= j;
        Check(name == (inside ? procs[k].name : std::string()) && (!inside || kind == procs[k].kind),
              "ProcOfLine names the procedure whose range holds the line", bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<SourceModule> m;
    try {
        m = SourceModule::Parse(bytes, "fuzz.bas");
    } catch (const vex::errors::RuntimeError&) {
        return 0;  // refused as a whole: the loader reports it and leaves the file alone
    }
    Check(m->Serialize() == bytes && !m->Changed(), "a module saved after loading gives back its bytes", bytes);
    size_t longest = 0;
    for (const auto& l : VisibleLines(*m)) {
        Check(l.find_first_of("\r\n") == std::string::npos, "a visible line holds no line break", bytes);
        longest = std::max(longest, l.size());
    }
    Check(longest == m->LongestLine(), "LongestLine is the longest visible line", bytes);
    CheckIndex(*m, bytes);
    m->StructureFault("fuzz.bas");

    const auto again = SourceModule::Parse(m->Serialize(), "fuzz.bas");
    Check(VisibleLines(*again) == VisibleLines(*m) && again->VBName() == m->VBName(), "a second read sees the same module",
          bytes);
    // Rewriting a line or the name with what it holds changes no byte.
    if (m->CountOfLines() > 0) {
        const long j = 1 + static_cast<long>(size % static_cast<size_t>(m->CountOfLines()));
        m->ReplaceLine(j, m->Lines(j, 1));
    }
    if (!m->VBName().empty()) m->SetVBName(std::string(m->VBName()));
    Check(m->Serialize() == bytes, "rewriting a line or the name with its own text changes nothing", bytes);
    return 0;
}
