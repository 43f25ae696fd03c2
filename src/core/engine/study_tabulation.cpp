#include "engine/study_tabulation.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/indent_keywords.h"
#include "engine/marker_text.h"
#include "engine/procedure_statements.h"
#include "engine/selection_walk.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "ide/logical_line.h"
#include "ide/vb_lexer.h"
#include "settings/options.h"
#include "text/cp1252.h"

namespace vex::engine {
namespace {

/// A 16-bit level, as the run counts it; out of range is an overflow.
int16_t Level(long value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw errors::Overflow();
    return static_cast<int16_t>(value);
}

/// `count` blanks; a negative count is an invalid call.
size_t Blanks(long count) {
    if (count < 0)
        throw errors::RuntimeError(errors::code::kInvalidProcedureCall, "Invalid procedure call or argument");
    return static_cast<size_t>(count);
}

class Indenter {
public:
    Indenter(Host& host, errors::Trap& trap, int16_t step, int16_t start, const std::string& errorKey)
        : host_(host), trap_(trap), t_(step), s_(start), errorKey_(errorKey) {}

    /// One component; false when the run must end.
    bool Component(ide::CodeModule& code) {
        long count = 0;
        if (!trap_.Run([&] {
                count = code.CountOfLines();
                host_.percentFile.SetMax(count);
                host_.percentFile.SetValue(0);
                known_ = false;
            }))
            return false;

        for (long j = 1; j <= count; ++j) {
            std::string_view written;
            if (!trap_.Run([&] { written = Line(code, j); })) return false;
            if (!written.empty() && !trap_.Run([&] { code.ReplaceLine(j, written); })) return false;
        }
        return true;
    }

private:
    /// Works out line `j` and moves the run state past it; returns the line's new text (valid until the
    /// next call), or the empty text when the line stays as it is.
    std::string_view Line(ide::CodeModule& code, long j) {
        host_.screen.DoEvents();
        host_.percentFile.SetValue(j);
        code.ProcAt(j, at_);
        if (at_.name.empty()) return {};  // declarations section
        if (!known_ || !at_.SameAs(proc_)) {
            bodyLine_ = at_.body;
            continued_ = ide::lex::Continues(code.Lines(bodyLine_, 1));
            known_ = true;
            proc_ = at_;
            inSection_ = false;
            level_ = Level(s_);
            return {};
        }
        if (j <= bodyLine_) return {};  // the procedure's declaration and the comments above it
        // A line that continues the statement above is part of that statement: no keyword of its own.
        const bool continuation = continued_;

        std::string scratch;
        const std::string_view raw = code.LineText(j, scratch);
        std::string_view lineText = text::Trim(raw);
        std::string_view prefix;
        if (!continuation && !lineText.empty() && ide::lex::IsDigit(lineText.front())) {
            const size_t blank = lineText.find(' ');
            if (blank != std::string_view::npos) {
                prefix = lineText.substr(0, blank + 1);
                lineText = text::Trim(lineText.substr(blank + 1));
            }
        }
        const bool continues = ide::lex::Continues(raw);
        if (lineText.empty()) {
            continued_ = continues;
            return {};  // a blank line stays as it is
        }

        const bool marker = HoldsMarker(lineText, errorKey_);
        bool inSection = inSection_;
        long L = level_;
        if (marker) {
            inSection = !inSection;
            L = inSection ? 0 : s_;
        }

        long at = L;
        long after = L;
        switch (continuation ? IndentRow::Other : ClassifyIndent(lineText)) {
            case IndentRow::If:
                after = IsBlockIf(continues ? ide::JoinStatement(code, j, ide::StatementLast(code, j)) : std::string(lineText)) ? L + t_ : L;
                break;
            case IndentRow::SelectCase:
                after = L + 2L * t_;
                break;
            case IndentRow::Case:
            case IndentRow::Else:
                at = std::max(L - t_, 0L);
                after = at + t_;
                break;
            case IndentRow::Opener:
                after = L + t_;
                break;
            case IndentRow::Closer:
                at = std::max(L - t_, 0L);
                after = at;
                break;
            case IndentRow::EndSelect:
                at = std::max(L - 2L * t_, 0L);
                after = at;
                break;
            case IndentRow::EndProcedure:
                at = 0;
                after = 0;
                break;
            case IndentRow::Other:
                at = marker ? 0 : L;
                break;
        }
        written_.assign(prefix).append(Blanks(Level(at)), ' ').append(lineText);
        level_ = Level(after);
        inSection_ = inSection;
        continued_ = continues;
        if (written_ == raw) return {};
        return written_;
    }

    Host& host_;
    errors::Trap& trap_;
    const long t_;
    const long s_;
    const std::string& errorKey_;
    bool known_ = false;
    ide::ProcAtLine proc_;
    ide::ProcAtLine at_;  // the procedure of the line at hand, read for every line into one buffer
    std::string written_;  // the line Line() gives, in one buffer for every line
    bool inSection_ = false;
    int16_t level_ = 0;
    long bodyLine_ = 0;
    bool continued_ = false;  ///< the last line processed ends with the continuation mark
};

}  // namespace

void StudyTabulation(Host& host, FileList& lst) {
    errors::Trap trap(host.report, "modEtude // StudyTabulation");
    int16_t step = 4;
    int16_t start = 4;
    settings::LoadedOptions options;
    if (!trap.Run([&] { host.screen.SetPointer(Pointer::Hourglass); })) return;
    if (!trap.Run([&] {
            step = settings::ReadInt16(host.store, settings::key::kTabulation, settings::defaults::kTabulation);
        }))
        return;
    if (!trap.Run(
            [&] { start = settings::ReadInt16(host.store, settings::key::kTabStart, settings::defaults::kTabStart); }))
        return;
    if (!trap.Run([&] { options = settings::LoadOptionsForCode(host.store, &host.notices); })) return;

    Indenter indenter(host, trap, step, start, options.strErrorKey);
    const ProcessComponent process = [&](ide::Component& component, int16_t) {
        return indenter.Component(component.GetCodeModule());
    };
    bool completed = true;
    if (!trap.Run([&] { completed = WalkSelection(host, lst, process, ProjectBarStep::AfterComponent); })) return;
    if (!completed) return;
    (void)trap.Run([&] {
        host.percentProject.SetValue(0);
        host.percentFile.SetValue(0);
        host.screen.SetPointer(Pointer::Default);
    });
}

}  // namespace vex::engine
