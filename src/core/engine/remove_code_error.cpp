#include "engine/remove_code_error.h"

#include <string>

#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/marker_text.h"
#include "engine/procedure_statements.h"
#include "engine/result_window.h"
#include "engine/handler_pass.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "settings/options.h"
#include "text/cp1252.h"

namespace vex::engine {
namespace {

/// The procedure whose lines are being walked.
struct Procedure {
    bool known = false;
    ide::ProcAtLine at;
    bool inSection = false;
    bool nameLogged = false;
    long from = 0;             ///< the first line after the declaration: walked lines start here
    long limit = 0;            ///< the procedure's End line (or the line after its range): walked lines stay above it
    long separatorsAhead = 0;  ///< separator lines not yet met above `limit`
};

class Remover {
public:
    Remover(Host& host, errors::Trap& trap, const settings::LoadedOptions& options)
        : host_(host), trap_(trap), options_(options) {}

    /// One component; false when the run must end.
    bool Component(ide::CodeModule& code, const std::string& rowText) {
        if (!trap_.Run([&] {
                host_.result.Append("\r\n\r\n" + text::ToUtf8(rowText));
                proc_ = Procedure{};
                sections_ = 0;
                host_.percentFile.SetValue(0);
            }))
            return false;

        long counter = 0;
        ide::ProcAtLine at;  // read for every line; its name keeps its buffer
        for (;;) {
            bool more = false;
            if (!trap_.Run([&] { more = NextLine(host_, code, counter); })) return false;
            if (!more) break;

            bool remove = false;
            bool changed = false;
            if (!trap_.Run([&] { changed = Examine(code, counter, at, remove); })) return false;
            if (changed) {
                if (!trap_.Run([&] { SetUp(code, counter, std::move(at)); })) return false;
                continue;  // the line that opens a procedure is not examined
            }
            if (remove) {
                if (!trap_.Run([&] { code.DeleteLines(counter, 1); })) return false;
                --counter;  // the next line moved up into this place
                --proc_.limit;
            }
        }
        return trap_.Run([&] { LogCount(); });
    }

private:
    /// Looks at line `j`: true when it belongs to another procedure than the current one; otherwise
    /// `remove` says whether the line goes.
    bool Examine(ide::CodeModule& code, long j, ide::ProcAtLine& at, bool& remove) {
        remove = false;
        code.ProcAt(j, at);
        if (at.name.empty()) return false;  // declarations section
        if (!proc_.known || !at.SameAs(proc_.at)) return true;
        // Only the body holds separators: a marker in a declaration's comment or above it is the user's.
        if (j < proc_.from || j >= proc_.limit) return false;

        std::string scratch;
        if (HoldsMarkerExact(code.LineText(j, scratch), options_.strErrorKey)) {
            --proc_.separatorsAhead;
            if (proc_.inSection) {
                proc_.inSection = false;
            } else if (proc_.separatorsAhead > 0) {  // a partner follows: this one opens a section
                proc_.inSection = true;
                ++sections_;
            }
            if (!proc_.nameLogged) {
                host_.result.Append("\r\n        " + text::ToUtf8(proc_.at.name));
                proc_.nameLogged = true;
            }
            remove = true;
        } else {
            remove = proc_.inSection;
        }
        return false;
    }

    /// The procedure `at`, met at line `j`, becomes the current one.
    void SetUp(ide::CodeModule& code, long j, ide::ProcAtLine at) {
        LogCount();
        proc_ = Procedure{};
        proc_.known = true;
        proc_.at = std::move(at);
        proc_.limit = j + 1;  // until the range is known, nothing is touched

        const long body = proc_.at.body;
        const long last = proc_.at.last;
        const long declarationLast = DeclarationLastLine(code, body, last);
        const long end = FindProcedureEnd(code, KindWord(code, body), declarationLast, last);
        const long limit = end != 0 ? end : last + 1;
        long separators = 0;
        std::string scratch;
        for (long k = declarationLast + 1; k < limit; ++k)
            if (HoldsMarkerExact(code.LineText(k, scratch), options_.strErrorKey)) ++separators;
        proc_.separatorsAhead = separators;
        proc_.from = declarationLast + 1;
        proc_.limit = limit;
    }

    void LogCount() {
        if (sections_ > 0) host_.result.Append("   " + std::to_string(sections_) + " section(s) removed");
        sections_ = 0;
    }

    Host& host_;
    errors::Trap& trap_;
    const settings::LoadedOptions& options_;
    Procedure proc_;
    int sections_ = 0;
};

}  // namespace

void RemoveCodeError(Host& host, FileList& lst, ResultWindow& window) {
    errors::Trap trap(host.report, "modEtude // RemoveCodeError");
    RunHandlerPass<Remover>(host, lst, window, trap, " Procedure with remove code.", " " + std::string(65, '-'));
}

}  // namespace vex::engine
