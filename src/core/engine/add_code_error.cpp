#include "engine/add_code_error.h"

#include <string>

#include "engine/correction_ligne.h"
#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/marker_text.h"
#include "engine/procedure_statements.h"
#include "engine/result_window.h"
#include "engine/handler_pass.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "ide/logical_line.h"
#include "settings/options.h"
#include "text/cp1252.h"

namespace vex::engine {
namespace {

constexpr std::string_view kCrLf = "\r\n";

/// The procedure whose lines are being walked, and what was done to it.
struct Procedure {
    bool known = false;
    ide::ProcAtLine at;
    std::string kindWord;
    bool treat = false;
    long startAfter = 0;  ///< the declaration's last line, where the start block goes (when treated)
    bool startInserted = false;
    bool endInserted = false;
    bool nameLogged = false;
};

class Inserter {
public:
    Inserter(Host& host, errors::Trap& trap, const settings::LoadedOptions& options)
        : host_(host), trap_(trap), options_(options),
          startFrame_(Frame(options.strSeparatorLine, options.strErrorCodeStart)),
          closeFrame_(Frame(options.strSeparatorLine, options.strErrorCodeClose)) {}

    /// One component; false when the run must end.
    bool Component(ide::CodeModule& code, const std::string& rowText) {
        rowText_ = rowText;
        if (!trap_.Run([&] {
                host_.result.Append("\r\n\r\n" + text::ToUtf8(rowText));
                proc_ = Procedure{};
                host_.percentFile.SetValue(0);
            }))
            return false;

        long counter = 0;
        ide::ProcAtLine at;  // read for every line; its name keeps its buffer
        for (;;) {
            bool more = false;
            if (!trap_.Run([&] { more = NextLine(host_, code, counter); })) return false;
            if (!more) return true;  // walked to the end (or the line count cannot be read)

            std::string block;
            bool changed = false;
            if (!trap_.Run([&] { changed = Examine(code, counter, at, block); })) return false;
            if (changed) {
                if (!trap_.Run([&] { SetUp(code, std::move(at)); })) return false;
                --counter;  // the same line again, now as a line of the new procedure
                continue;
            }
            if (!block.empty() && !trap_.Run([&] { code.ReplaceLine(counter, block); })) return false;
        }
    }

private:
    /// Looks at line `j`: true when it belongs to another procedure than the current one (`at` says
    /// which); otherwise fills `block` with what replaces the line (empty: nothing).
    bool Examine(ide::CodeModule& code, long j, ide::ProcAtLine& at, std::string& block) {
        block.clear();
        code.ProcAt(j, at);
        if (at.name.empty()) return false;  // declarations section
        if (!proc_.known || !at.SameAs(proc_.at)) return true;

        if (!proc_.treat) return false;
        std::string scratch;
        const std::string_view line = code.LineText(j, scratch);
        if (!proc_.nameLogged) {
            host_.result.Append("\r\n        " + text::ToUtf8(proc_.at.name) + " (" + proc_.kindWord + ")");
            proc_.nameLogged = true;
        }
        if (!proc_.startInserted) {
            if (j != proc_.startAfter) return false;
            block = std::string(line).append(kCrLf) + Fill(startFrame_);
            proc_.startInserted = true;
            host_.result.Append("\r\n              -> Add beginning code");
        } else if (!proc_.endInserted && IsProcedureEnd(line, proc_.kindWord) && !ide::IsContinuationLine(code, j)) {
            block = Fill(closeFrame_).append(kCrLf).append(line);
            proc_.endInserted = true;
            host_.result.Append("\r\n              -> Add terminate code");
        }
        return false;
    }

    /// The procedure `at` becomes the current one. It is treated only when it carries no
    /// marker and both blocks have a sound place: a start block without its end block would leave a jump
    /// to a label that is never written. Until all is known it stays untreated.
    void SetUp(ide::CodeModule& code, ide::ProcAtLine at) {
        proc_ = Procedure{};
        proc_.known = true;
        proc_.at = std::move(at);
        proc_.kindWord = "Error";

        const long body = proc_.at.body;
        const long last = proc_.at.last;
        const std::string word = KindWord(code, body);
        if (word.empty()) return;
        proc_.kindWord = word;
        std::string scratch;
        for (long k = body; k <= last; ++k) {
            const std::string_view line = code.LineText(k, scratch);
            if (HoldsMarker(line, options_.strErrorKey) || HoldsMarker(line, options_.strNoErrorKey)) return;
        }
        const long declarationLast = DeclarationLastLine(code, body, last);
        proc_.treat = FindProcedureEnd(code, word, declarationLast, last) != 0;
        // Nothing is edited in the procedure before the start block goes in: its place is known now.
        if (proc_.treat) proc_.startAfter = DeclarationLastLine(code, body, code.CountOfLines());
    }

    /// A block between two separator lines, as it goes in before its placeholders are filled.
    static std::string Frame(std::string_view separator, std::string_view block) {
        return std::string(separator).append(kCrLf).append(block).append(kCrLf).append(separator);
    }

    std::string Fill(std::string_view frame) {
        return CorrectionLigne(host_.report, frame, proc_.kindWord, proc_.at.name, rowText_);
    }

    Host& host_;
    errors::Trap& trap_;
    const settings::LoadedOptions& options_;
    const std::string startFrame_, closeFrame_;
    std::string rowText_;
    Procedure proc_;
};

}  // namespace

void AddCodeError(Host& host, FileList& lst, ResultWindow& window) {
    errors::Trap trap(host.report, "modEtude // AddCodeError");
    RunHandlerPass<Inserter>(host, lst, window, trap, " Procedure with new error handler.", " " + std::string(45, '-'));
}

}  // namespace vex::engine
