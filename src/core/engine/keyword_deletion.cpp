#include "engine/keyword_deletion.h"

#include <functional>
#include <optional>

#include "engine/jump_targets.h"
#include "engine/selection_walk.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "ide/logical_line.h"
#include "ide/source_module.h"
#include "ide/vb_lexer.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"
#include "util/file_io.h"

namespace vex::engine {

namespace {

struct Scan {
    long line = 1;      // position of the next statement
    long examined = 0;  // lines examined so far in this component
    std::optional<std::map<ProcKey, JumpTargets>> targets;  // read when a numbered line holds the keyword
};

/// True when deleting the statement loses nothing but the one statement that holds the keyword: the
/// logical line holds a single simple statement (no name label, no other statement after a colon, no
/// block line such as a one-line If, With or Case, no declaration), or only a comment. A line number goes
/// with its line unless a jump or an Erl test of the procedure refers to it (`isReferenced`).
bool IsWholeStatement(std::string_view statement, const std::function<bool(const std::string&)>& isReferenced) {
    if (ide::syntax::IsBlankOrComment(statement)) return true;
    if (!ide::lex::LeadingLabel(statement).empty()) {
        const std::string number = ide::lex::LeadingNumber(statement);
        if (number.empty() || isReferenced(number)) return false;
    }
    const auto pieces = ide::lex::Statements(statement);
    if (pieces.size() != 1 || ide::syntax::MatchDeclaration(pieces.front())) return false;
    static constexpr std::string_view kBlockWords[] = {"If",   "ElseIf", "Else", "With", "Select", "Case",
                                                       "For",  "Do",     "While", "Wend", "Loop",  "Next",
                                                       "End",  "Type",   "Enum"};
    for (auto w : kBlockWords)
        if (ide::lex::StartsWithWord(pieces.front(), w)) return false;
    return true;
}

/// Examines the statement that starts at `scan.line` and deletes it when it holds the keyword.
void ExamineStatement(Host& host, ide::Component& component, const std::string& keyword, long total, Scan& scan) {
    ide::CodeModule& code = component.GetCodeModule();
    const long count = code.CountOfLines();
    long last = scan.line;
    auto& targets = scan.targets;
    bool holdsKeyword = false, inCode = false, isProtected = false;
    std::string scratch;
    for (;;) {
        host.screen.DoEvents();
        host.percentFile.SetValue(scan.examined + (last - scan.line) + 1);  // this line included
        const std::string_view text = code.LineText(last, scratch);
        if (!text.empty() && text.find(keyword) != std::string_view::npos) {
            holdsKeyword = true;
            if (ide::lex::CodeOf(text).find(keyword) != std::string_view::npos) inCode = true;
        }
        if (text.find(kFollowProgram) != std::string_view::npos) isProtected = true;
        const long examinedHere = scan.examined + (last - scan.line) + 1;
        const bool more = ide::lex::Continues(text) && last < count && examinedHere < total;
        if (!more) break;
        ++last;
    }
    const long lines = last - scan.line + 1;
    // A keyword only in the comment after other code takes no code with it.
    const std::string statement = holdsKeyword ? ide::JoinStatement(code, scan.line, last) : std::string();
    bool remove = holdsKeyword && !isProtected && (inCode || ide::syntax::IsBlankOrComment(statement));
    auto isReferenced = [&](const std::string& number) {
        if (!targets) targets = CollectJumpTargets(code);
        const auto it = targets->find(ProcKey::At(code, scan.line));
        return it != targets->end() && it->second.numbers.contains(number);
    };
    if (remove && !IsWholeStatement(statement, isReferenced)) {
        remove = false;
        if (inCode) {
            const std::string file = component.FileCount() > 0 ? util::Display(component.FileNames(1).filename())
                                                               : text::ToUtf8(component.Name());
            // The line as it stands in the file once saved, so the user can go straight to it.
            host.notices.Notice(file + ":" + std::to_string(component.Source().FileLine(scan.line)) +
                                ": kept, the line holding " +
                                text::ToUtf8(keyword) + " holds other code too");
        }
    }
    if (remove) code.DeleteLines(scan.line, lines);  // the next statement moves up
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
                    total = code.CountOfLines();
                    host.percentFile.SetMax(total);
                    host.percentFile.SetValue(0);
                })) {
                aborted = true;
                return false;
            }
            Scan scan;
            while (scan.examined < total && scan.line <= code.CountOfLines()) {
                const Scan before{scan.line, scan.examined, {}};
                if (!trap.Run([&] { ExamineStatement(host, component, keyword, total, scan); })) {
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
