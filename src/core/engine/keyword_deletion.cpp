#include "engine/keyword_deletion.h"

#include "engine/selection_walk.h"
#include "engine/vb_lines.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {

struct Scan {
    long line = 1;      // position of the next statement
    long examined = 0;  // lines examined so far in this component
};

/// Examines the statement that starts at `scan.line` and deletes it when it holds the keyword.
void ExamineStatement(Host& host, ide::CodeModule& code, const std::string& keyword, long total, Scan& scan) {
    const long count = code.CountOfLines();
    long last = scan.line;
    bool holdsKeyword = false, isProtected = false;
    for (;;) {
        host.screen.DoEvents();
        host.percentFile.SetValue(scan.examined + (last - scan.line) + 1);  // this line included
        const std::string text = code.Lines(last, 1);
        if (!text.empty() && text.find(keyword) != std::string::npos) holdsKeyword = true;
        if (text.find(kFollowProgram) != std::string::npos) isProtected = true;
        const long examinedHere = scan.examined + (last - scan.line) + 1;
        const bool more = ide::syntax::Continues(text) && last < count && examinedHere < total;
        if (!more) break;
        ++last;
    }
    const long lines = last - scan.line + 1;
    if (holdsKeyword && !isProtected) code.DeleteLines(scan.line, lines);  // the next statement moves up
    else scan.line = last + 1;
    scan.examined += lines;
}

}  // namespace

void StudyRemoveCode(Host& host, FileList& lst, const std::string& keyword) {
    errors::Trap trap(host.report, "StudyRemoveCode", text::ToUtf8(keyword));
    bool aborted = false;
    const bool walked = trap.Run([&] {
        WalkSelection(host, lst, [&](ide::Component& component, int16_t) {
            ide::CodeModule& code = component.GetCodeModule();
            long total = 0;
            if (!trap.Run([&] {
                    total = CountOfLines16(code);
                    host.percentFile.SetMax(total);
                    host.percentFile.SetValue(0);
                })) {
                aborted = true;
                return false;
            }
            Scan scan;
            while (scan.examined < total && scan.line <= code.CountOfLines()) {
                const Scan before = scan;
                if (!trap.Run([&] { ExamineStatement(host, code, keyword, total, scan); })) {
                    aborted = true;
                    return false;
                }
                if (scan.examined == before.examined) {  // the step was ignored: go on with the next line
                    scan.line = before.line + 1;
                    scan.examined = before.examined + 1;
                }
            }
            return true;
        });
    });
    if (!walked || aborted) {
        host.screen.SetPointer(Pointer::Default);
        return;
    }
    host.screen.SetPointer(Pointer::Default);
    host.percentProject.SetValue(0);
    host.percentFile.SetValue(0);
}

}  // namespace vex::engine
