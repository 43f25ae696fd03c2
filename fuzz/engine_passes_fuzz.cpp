// Each code pass on a random module, run as the tests run it (one listed project over the host fakes):
// no crash, no hang, and the pass's own properties — a second run changes nothing, the inverse pass
// restores an untouched module, and the declarations section, each declaration and the lines above it
// keep their text. A module with a procedure never closed is refused by the loader, so it is not tried.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/engine_test_util.h"
#include "engine/add_code_error.h"
#include "errors/runtime_error.h"
#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "engine/remove_code_error.h"
#include "engine/study_tabulation.h"
#include "fuzz_support.h"
#include "ide/source_module.h"
#include "ide/vb_lexer.h"
#include "text/cp1252.h"

namespace {

using namespace vex;
using fuzz::Check;
using testing::Lines;
using testing::Statements;

enum class Pass { Number, Unnumber, AddHandlers, RemoveHandlers, Indent, DeleteLines, Count };

constexpr const char* kKeyword = "Debug.Print";
constexpr const char* kErrorKey = "%Manage Error%";

void Run(testing::EngineRun& run, Pass pass) {
    auto& host = run.fx.host;
    switch (pass) {
        case Pass::Number: engine::StudyLineNumber(host, run.lst, engine::EditMode::Add); break;
        case Pass::Unnumber: engine::StudyLineNumber(host, run.lst, engine::EditMode::Remove); break;
        case Pass::AddHandlers: engine::AddCodeError(host, run.lst, run.window); break;
        case Pass::RemoveHandlers: engine::RemoveCodeError(host, run.lst, run.window); break;
        case Pass::Indent: engine::StudyTabulation(host, run.lst); break;
        case Pass::DeleteLines: engine::StudyRemoveCode(host, run.lst, kKeyword); break;
        case Pass::Count: break;
    }
}

/// The pass that takes back what `pass` put in, and whether `lines` are such that it must restore them.
std::optional<Pass> Inverse(Pass pass, const Lines& lines) {
    auto none = [&](auto holds) {
        for (const auto& l : lines)
            if (holds(l)) return false;
        return true;
    };
    if (pass == Pass::Number && none([](const std::string& l) { return !l.empty() && ide::lex::IsDigit(l[0]); }))
        return Pass::Unnumber;
    if (pass == Pass::AddHandlers && none([](const std::string& l) { return l.find(kErrorKey) != std::string::npos; }))
        return Pass::RemoveHandlers;
    return std::nullopt;
}

std::string WithoutSpaces(std::string s) {
    std::erase(s, ' ');
    return s;
}

std::string Describe(const Lines& lines) { return testing::Crlf(lines); }

// The declarations section, and each procedure's lines down to the end of its declaration (for the
// indent, down to its declaration line: the lines a continued declaration runs on are laid out too).
std::vector<Lines> Untouchable(Pass pass, const ide::SourceModule& m, const Lines& lines) {
    std::vector<Lines> parts;
    const auto& procs = m.Procedures();
    const long declarations = procs.empty() ? static_cast<long>(lines.size()) : procs[0].start - 1;
    parts.emplace_back(lines.begin(), lines.begin() + declarations);
    for (const auto& p : procs) parts.emplace_back(lines.begin() + (p.start - 1), lines.begin() + (pass == Pass::Indent ? p.body : p.declarationEnd));
    return parts;
}

void CheckPass(Pass pass, const Lines& input) {
    std::optional<testing::EngineRun> holder;
    try {
        holder.emplace(std::vector<std::pair<std::string, Lines>>{{"Module1", input}});
    } catch (const errors::RuntimeError&) {
        return;  // not VB6 text: the loader refuses it
    }
    auto& run = *holder;
    run.SetOption("ViewResult", "0");
    auto& module = run.project.VBComponents()[0].Source();
    if (!module.StructureFault("Module1").empty()) return;
    const std::string original = module.Serialize();
    const Lines before = run.Module();
    const auto keep = Untouchable(pass, module, before);

    Run(run, pass);
    // A reported error (an End If with no If, a number past the limit) ends the pass as designed.
    if (!run.fx.report.Reported().empty()) return;
    const std::string once = module.Serialize();
    const Lines after = run.Module();
    const std::string where = std::string("pass ") + std::to_string(static_cast<int>(pass)) + " on\n" + Describe(before) +
                              "-- gave\n" + Describe(after);

    if (pass == Pass::DeleteLines) {
        // What is left is the original statements with whole ones taken out, each holding the keyword.
        const auto left = Statements(after);
        size_t k = 0;
        for (const auto& statement : Statements(before)) {
            if (k < left.size() && left[k] == statement) {
                ++k;
                continue;
            }
            bool holds = false;
            for (const auto& l : statement) holds = holds || l.find(kKeyword) != std::string::npos;
            Check(holds, "only statements holding the keyword are deleted", where);
        }
        Check(k == left.size(), "what is left is whole original statements", where);
    } else {
        // Unnumbering takes numbers from every line of the module, declarations section included.
        Check(pass == Pass::Unnumber || Untouchable(pass, module, after) == keep,
              "the declarations and the lines above them keep their text", where);
        if (pass == Pass::Number || pass == Pass::Unnumber || pass == Pass::Indent)
            Check(after.size() == before.size(), "the pass only replaces lines", where);
        if (pass == Pass::Indent)
            for (size_t i = 0; i < after.size(); ++i)
                Check(WithoutSpaces(after[i]) == WithoutSpaces(before[i]), "the indent changes spaces only", where);
    }

    // Unnumbering takes one number from a line: a line that began with two ("1 1 If") still begins with
    // one, so a second run is only sure to change nothing when no line begins with a digit any more.
    const bool stillNumbered = pass == Pass::Unnumber && std::any_of(after.begin(), after.end(), [](const std::string& l) {
        const std::string_view code = text::LTrim(l);
        return !code.empty() && ide::lex::IsDigit(code.front());
    });
    Run(run, pass);
    Check(stillNumbered || (run.fx.report.Reported().empty() && module.Serialize() == once), "a second run changes nothing", where);
    if (const auto inverse = Inverse(pass, before)) {
        Run(run, *inverse);
        Check(run.fx.report.Reported().empty() && module.Serialize() == original, "the inverse pass restores the module",
              where + "-- restored as\n" + Describe(run.Module()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.starts_with("VERSION ") || bytes.starts_with("Attribute ")) {
        // A module file (a seed from real projects, or one mutated from it): every pass on its lines.
        Lines lines(1);
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n') lines.back() += bytes[i];
            else if (bytes[i] == '\n' || i + 1 == bytes.size() || bytes[i + 1] != '\n') lines.emplace_back();
        }
        for (int p = 0; p < static_cast<int>(Pass::Count); ++p) CheckPass(static_cast<Pass>(p), lines);
        return 0;
    }
    FuzzedDataProvider in(data, size);
    const auto pass = static_cast<Pass>(in.ConsumeIntegralInRange(0, static_cast<int>(Pass::Count) - 1));
    CheckPass(pass, fuzz::DrawLines(in, 60));
    return 0;
}
