#include "engine/line_numbering.h"

#include <array>
#include <charconv>
#include <map>
#include <optional>

#include "engine/jump_targets_ahead.h"
#include "engine/line_number_options.h"
#include "engine/procedure_statements.h"
#include "engine/selection_walk.h"
#include "errors/trap.h"
#include "ide/component.h"
#include "ide/project.h"
#include "ide/vb_lexer.h"
#include "ide/vb_syntax.h"
#include "settings/numeric.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {

using ide::lex::IsDigit;

/// True when the line holds nothing but a number (a bare line label such as `101` or `101:`).
bool IsBareNumber(std::string_view line) {
    const auto trimmed = text::LTrim(line);
    if (trimmed.empty() || !IsDigit(trimmed[0])) return false;  // the usual line, told at its first byte
    const auto label = ide::lex::LeadingLabel(line);
    return !label.empty() && text::Trim(line.substr(label.size())).empty();
}

/// The text after the first blank, or the whole text when it has none.
std::string_view AfterFirstBlank(std::string_view line) {
    const size_t blank = line.find(' ');
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

/// True for the declaration line of procedure `proc`: "Sub ", "Function " or "Property Get|Let|Set "
/// followed by its name, anywhere in the line, case-sensitive; or a line that declares it however it is
/// spaced.
bool IsDeclaration(std::string_view line, const std::string& proc, ide::ProcKind kind) {
    static constexpr std::array<std::string_view, 5> kKeywords = {"Sub ", "Function ", "Property Get ",
                                                                  "Property Let ", "Property Set "};
    // Both tests need the name in the line; most lines do not hold it.
    size_t at = line.find(proc);
    if (at == std::string_view::npos) return false;
    for (; at != std::string_view::npos; at = line.find(proc, at + 1))
        for (auto keyword : kKeywords)
            if (at >= keyword.size() && line.substr(at - keyword.size(), keyword.size()) == keyword) return true;
    const auto declared = ide::syntax::MatchDeclaration(line);
    return declared && declared->name == proc && declared->kind == kind;
}

/// Statements that never take a number: comments, declarations, case branches, procedure ends and
/// compiler directives.
bool HasExcludedPrefix(std::string_view trimmed) {
    static constexpr std::array<std::string_view, 11> kPrefixes = {
        "'", "debug", "dim", "end sub", "end function", "end property", "const", "declare", "global", "case", "#"};
    if (trimmed.empty()) return false;
    const char first = text::FoldAscii(trimmed[0]);
    for (auto p : kPrefixes)
        if (p[0] == first && text::IStartsWith(trimmed, p)) return true;
    return false;
}

/// The number after `running`, past those a jump goes to; none when it would overflow a Long.
std::optional<int32_t> NextNumber(int32_t running, int32_t step, const NumberSet* reserved) {
    int64_t n = running;
    do {
        n += step;
        if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
    } while (step != 0 && reserved && !reserved->empty() && reserved->contains(std::to_string(n)));
    return static_cast<int32_t>(n);
}

std::string Utf8(std::string_view s) { return text::ToUtf8(s); }

void NoticeKept(Host& host, const ide::Component& component, const std::string& proc, long line,
                const std::string& number) {
    host.notices.Notice(Utf8(component.Name()) + ": " + Utf8(proc) + ": line " + std::to_string(line) +
                        " keeps its number " + number + ", a jump goes there");
}

const JumpTargets kNoTargets;

const JumpTargets& TargetsOf(const std::map<ProcKey, JumpTargets>& all, const ProcKey& key) {
    const auto it = all.find(key);
    return it == all.end() ? kNoTargets : it->second;
}

/// Numbers one component's procedures; `running` runs on across components when not reset.
void NumberComponent(Host& host, ide::Component& component, const LineNumberOptions& options,
                     const std::string& lowerKey, LineNumberContext& ctx, int32_t& running, JumpTargetsAhead* ahead) {
    ide::CodeModule& code = component.GetCodeModule();
    const long count = code.CountOfLines();
    host.percentFile.SetMax(count);
    host.percentFile.SetValue(0);
    const auto jumps = ahead ? ahead->Take(code) : CollectJumpTargets(code);

    ProcKey last;  // empty: the first procedure of the component counts as a change
    long declarationEnd = 0;
    ctx.reserved = &kNoTargets.numbers;
    bool continuation = false;
    std::string scratch, numbered;
    ide::ProcAtLine proc;  // read for every line; its name keeps its buffer
    for (long j = 1; j <= count && !ctx.aborted; ++j) {
        host.screen.DoEvents();
        host.percentFile.SetValue(j);
        code.ProcAt(j, proc);
        if (proc.name.empty()) continue;  // declarations section

        if (proc.name != last.name || proc.kind != last.kind || proc.copy != last.copy) {
            // A new procedure: nothing down to the end of its declaration is numbered (the lines above
            // it may be module-level code under #If, and a declaration may be continued or given twice).
            declarationEnd = DeclarationLastLine(code, proc.body, count);
            last.name.assign(proc.name);
            last.kind = proc.kind;
            last.copy = proc.copy;
            ctx.blnErrorBlock = false;
            if (options.resetLineNumber) running = 0;
            ctx.reserved = &TargetsOf(jumps, last).numbers;
            continuation = false;
            continue;
        }
        if (j <= declarationEnd) continue;

        // A view of the line: read before the line is replaced, which ends it.
        const std::string_view line = code.LineText(j, scratch);
        const bool continues = ide::lex::Continues(line);
        if (!continuation && !line.empty() && !IsDeclaration(line, last.name, last.kind)) {
            if (text::IFind(line, lowerKey) != std::string_view::npos) ctx.blnErrorBlock = !ctx.blnErrorBlock;
            const std::string number = ide::lex::LeadingNumber(line);
            if (!number.empty() && ctx.reserved->contains(number)) {
                NoticeKept(host, component, last.name, j, number);
            } else {
                WriteLineNumber(ctx, line, running, options.lineJump, numbered);
                if (!numbered.empty()) code.ReplaceLine(j, numbered);
            }
        }
        continuation = continues;
    }
}

void UnnumberComponent(Host& host, ide::Component& component) {
    ide::CodeModule& code = component.GetCodeModule();
    const long count = code.CountOfLines();
    host.percentFile.SetMax(count);
    host.percentFile.SetValue(0);
    std::optional<std::map<ProcKey, JumpTargets>> jumps;  // collected when a numbered line is met
    ProcKey told;  // the last procedure said to read Erl

    bool continued = false;
    std::string scratch;
    for (long j = 1; j <= count; ++j) {
        host.screen.DoEvents();
        // A view of the line: read before the line is replaced, which ends it.
        const std::string_view line = code.LineText(j, scratch);
        host.percentFile.SetValue(j);
        // Leading digits on a continuation line belong to an expression, not to a line number.
        const bool isContinuation = continued;
        continued = ide::lex::Continues(line);
        if (line.empty() || isContinuation || !IsDigit(line[0])) continue;

        if (!jumps) jumps = CollectJumpTargets(code);
        const ProcKey key = ProcKey::At(code, j);
        const JumpTargets& targets = TargetsOf(*jumps, key);
        const std::string number = ide::lex::LeadingNumber(line);
        if (targets.numbers.contains(number)) {
            NoticeKept(host, component, key.name, j, number);
            continue;
        }
        if (targets.readsErl && key != told) {
            host.notices.Notice(Utf8(component.Name()) + ": " + Utf8(key.name) +
                                " reads Erl: its line numbers are taken away, Erl will give 0");
            told = key;
        }
        std::string stripped = RemoveNumber(line);
        if (!stripped.empty()) code.ReplaceLine(j, stripped);
    }
}

}  // namespace

void StudyLineNumber(Host& host, FileList& lst, EditMode mode) {
    host.screen.SetPointer(Pointer::Hourglass);
    host.screen.DoEvents();
    errors::Trap trap(host.report, "modEtude // StudyLineNumber");
    if (!trap.Run([&] { mode == EditMode::Add ? AddLineNumber(host, lst) : RemoveLineNumber(host, lst); })) return;
    host.percentFile.SetValue(0);
    host.percentProject.SetValue(0);
    host.screen.SetPointer(Pointer::Default);
}

void AddLineNumber(Host& host, FileList& lst) {
    const LineNumberOptions options = ReadLineNumberOptions(host.store, &host.notices);
    const std::string lowerKey = text::Lower(options.errorKey);
    LineNumberContext ctx{host.report};
    int32_t running = 0;
    std::optional<JumpTargetsAhead> ahead;
    if (host.readAhead && host.activeProject) {
        std::vector<const ide::CodeModule*> modules;
        for (const auto& component : host.activeProject->VBComponents()) modules.push_back(&component.GetCodeModule());
        ahead.emplace(std::move(modules));
    }
    WalkSelection(host, lst, [&](ide::Component& component, int16_t) {
        NumberComponent(host, component, options, lowerKey, ctx, running, ahead ? &*ahead : nullptr);
        return !ctx.aborted;
    });
}

void RemoveLineNumber(Host& host, FileList& lst) {
    WalkSelection(host, lst, [&](ide::Component& component, int16_t) {
        UnnumberComponent(host, component);
        return true;
    });
}

void WriteLineNumber(LineNumberContext& ctx, std::string_view line, int32_t& running, int32_t step, std::string& numbered) {
    numbered.clear();
    if (HasExcludedPrefix(text::Trim(line))) return;
    // A label must stay the first thing on its line, or VB no longer reads it as a label; a bare
    // number is a label too.
    if (ide::lex::StartsWithNameLabel(line) || IsBareNumber(line)) return;
    if (ctx.blnErrorBlock) return;
    if (!line.empty() && IsDigit(line[0])) {
        line = AfterFirstBlank(line);
        if (settings::IsNumeric(line)) line = " ";
    } else if (settings::IsNumeric(line)) {
        // A number alone that does not begin with a digit ("-1", "  .5"): numbered, it would read as a
        // number followed by a number, which the next run and the removal both turn into a blank.
        return;
    }
    // Tabs are blanks too: a number before a line of tabs would make it a bare label, which the next run
    // leaves alone without counting it, giving its number again below.
    if (ide::lex::SkipBlanks(line).empty()) {
        numbered.assign(line);
        return;
    }

    std::optional<int32_t> next = NextNumber(running, step, ctx.reserved);
    if (!next) {
        // Only an overflow goes through the error report, which may ask to try again.
        errors::Trap trap(ctx.report, "modEtude // WriteLineNumber");
        const bool goOn = trap.Run([&] {
            if (!(next = NextNumber(running, step, ctx.reserved))) throw errors::Overflow();
        });
        if (!goOn) ctx.aborted = true;
        if (!next) return;  // no number to give: the line stays as it is
    }
    running = *next;
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, running).ptr;
    numbered.append(digits, written).append(" ").append(line);
}

std::string RemoveNumber(std::string_view line) {
    if (line.empty() || !IsDigit(line[0]) || IsBareNumber(line)) return {};
    std::string_view rest = AfterFirstBlank(line);
    if (settings::IsNumeric(rest)) return " ";
    return std::string(rest);
}

}  // namespace vex::engine
