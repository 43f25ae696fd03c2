// A module under a random sequence of edits, against a plain vector of lines: the lines always match,
// edits outside 1..CountOfLines raise and change nothing, and the procedure index kept current through
// the edits equals the index of the same text read afresh.

#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "ide/source_module.h"

namespace {

using namespace vex::ide;
using vex::fuzz::Check;
using Lines = std::vector<std::string>;

Lines VisibleLines(const CodeModule& m) {
    Lines lines;
    for (long j = 1; j <= m.CountOfLines(); ++j) lines.push_back(m.Lines(j, 1));
    return lines;
}

// What ReplaceLine's text becomes: a new line at each CR LF, lone CR or lone LF, one more after a final break.
Lines SplitAtBreaks(const std::string& text) {
    Lines parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

std::string Joined(const Lines& lines, size_t from, size_t count) {
    std::string out;
    for (size_t k = from; k < from + count; ++k) out += (k > from ? "\r\n" : "") + lines[k];
    return out;
}

template <class Edit>
bool Raises(Edit edit) {
    try {
        edit();
    } catch (const vex::errors::RuntimeError&) {
        return true;
    }
    return false;
}

std::string Describe(const Lines& lines) { return Joined(lines, 0, lines.size()); }

// The index the edits kept against a fresh read of the same text (when the fresh read shows the same
// lines: an edit may write an attribute line, which a read hides).
void CheckIndexAgainstFreshRead(const SourceModule& m, const Lines& expected) {
    std::unique_ptr<SourceModule> fresh;
    try {
        fresh = SourceModule::Parse(m.Serialize());
    } catch (const vex::errors::RuntimeError&) {
        return;  // an edit wrote a header block that is never closed
    }
    if (VisibleLines(*fresh) != expected) return;
    const auto& kept = m.Procedures();
    const auto& read = fresh->Procedures();
    Check(kept.size() == read.size(), "the edits kept as many procedures as a fresh read finds", Describe(expected));
    for (size_t k = 0; k < kept.size(); ++k)
        Check(kept[k].name == read[k].name && kept[k].kind == read[k].kind && kept[k].start == read[k].start &&
                  kept[k].body == read[k].body && kept[k].declarationEnd == read[k].declarationEnd && kept[k].end == read[k].end &&
                  kept[k].copy == read[k].copy,
              "a procedure kept through the edits equals the fresh read's", Describe(expected) + "\n-- procedure " + read[k].name);
    for (long j = 1; j <= m.CountOfLines(); ++j) {
        ProcKind a, b;
        Check(m.ProcOfLine(j, a) == fresh->ProcOfLine(j, b) && a == b, "ProcOfLine agrees with a fresh read",
              Describe(expected) + "\n-- line " + std::to_string(j));
    }
    for (const auto& p : read)
        Check(m.ProcStartLine(p.name, p.kind) == fresh->ProcStartLine(p.name, p.kind) &&
                  m.ProcBodyLine(p.name, p.kind) == fresh->ProcBodyLine(p.name, p.kind) &&
                  m.ProcCountLines(p.name, p.kind) == fresh->ProcCountLines(p.name, p.kind),
              "the Proc lookups agree with a fresh read", Describe(expected) + "\n-- procedure " + p.name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::string text = "Attribute VB_Name = \"M\"\r\n";
    for (const auto& l : vex::fuzz::DrawLines(in, 40)) text += l + "\r\n";
    std::unique_ptr<SourceModule> m;
    try {
        m = SourceModule::Parse(text);
    } catch (const vex::errors::RuntimeError&) {
        return 0;
    }
    Lines expected = VisibleLines(*m);

    const int edits = in.ConsumeIntegralInRange(1, 48);
    for (int e = 0; e < edits && in.remaining_bytes() > 0; ++e) {
        const long n = static_cast<long>(expected.size());
        const long line = in.ConsumeIntegralInRange<long>(0, n + 1);
        const bool valid = line >= 1 && line <= n;
        switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0:
            case 1: {  // a line replaced by one or more lines
                std::string replacement = vex::fuzz::DrawLine(in);
                for (int k = in.ConsumeIntegralInRange(0, 3); k > 0; --k)
                    replacement += std::string(in.PickValueInArray({"\r\n", "\n", "\r"})) + vex::fuzz::DrawLine(in);
                if (in.ConsumeBool() && valid) replacement += "\r\n" + expected[static_cast<size_t>(line - 1)];  // an insert
                Check(Raises([&] { m->ReplaceLine(line, replacement); }) == !valid, "ReplaceLine raises outside the lines");
                if (!valid) break;
                const Lines parts = SplitAtBreaks(replacement);
                expected.erase(expected.begin() + (line - 1));
                expected.insert(expected.begin() + (line - 1), parts.begin(), parts.end());
                break;
            }
            case 2: {
                const long count = in.ConsumeIntegralInRange<long>(1, 4);
                const bool fits = valid && line + count - 1 <= n;
                Check(Raises([&] { m->DeleteLines(line, count); }) == !fits, "DeleteLines raises outside the lines");
                if (fits) expected.erase(expected.begin() + (line - 1), expected.begin() + (line - 1 + count));
                break;
            }
            case 3: {
                const long count = in.ConsumeIntegralInRange<long>(1, 4);
                const bool fits = valid && line + count - 1 <= n;
                std::string got;
                Check(Raises([&] { got = m->Lines(line, count); }) == !fits, "Lines raises outside the lines");
                Check(!fits || got == Joined(expected, static_cast<size_t>(line - 1), static_cast<size_t>(count)),
                      "Lines joins the lines by CR LF");
                break;
            }
        }
        Check(m->CountOfLines() == static_cast<long>(expected.size()) && VisibleLines(*m) == expected,
              "the module's lines are the reference's", Describe(expected));
        if (in.ConsumeBool()) CheckIndexAgainstFreshRead(*m, expected);
    }
    CheckIndexAgainstFreshRead(*m, expected);
    return 0;
}
