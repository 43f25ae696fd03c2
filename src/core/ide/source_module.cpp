#include "ide/source_module.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>

#include "errors/runtime_error.h"
#include "ide/declaration_end.h"
#include "ide/gap_buffer.h"
#include "ide/text_shape.h"
#include "ide/vb_lexer.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::ide {
namespace {

using errors::RuntimeError;

constexpr size_t kNone = static_cast<size_t>(-1);

// The line breaks a line may end in, as Line::eol codes them.
constexpr std::string_view kBreaks[] = {"\r\n", "\n", "\r"};
unsigned BreakCode(std::string_view eol) { return eol == "\n" ? 1 : eol == "\r" ? 2 : 0; }

// The longest line a module holds (Line::size has 30 bits); VB6 itself stops at 1,023 bytes.
constexpr size_t kLongestLine = (size_t{1} << 30) - 1;

// The texts of edited lines. They are only ever added to, in blocks that never move, so a line's view
// of its text stays valid until the module drops every edit at once (after a save).
class EditedText {
public:
    std::string_view Keep(std::string_view text) {
        if (text.empty()) return {};
        if (text.size() > free_) NewBlock(text.size());
        char* at = next_;
        std::memcpy(at, text.data(), text.size());
        next_ += text.size();
        free_ -= text.size();
        return {at, text.size()};
    }
    /// A text kept by KeepShared, with what its reader has learnt of it (-1: not yet asked).
    struct Shared {
        std::string_view text;
        signed char insignificant = -1;
    };
    /// As Keep, but a text met again among the last few so kept is viewed where it already stands, and
    /// comes with what was learnt of it then: inserted lines repeat (a handler pass inserts the same
    /// template lines in every procedure). `text` is not empty.
    Shared& KeepShared(std::string_view text) {
        auto& slot = recent_[std::hash<std::string_view>{}(text) % recent_.size()];
        if (slot.text != text) slot = {Keep(text), -1};
        return slot;
    }
    void Clear() {
        recent_.fill({});
        blocks_.clear();
        next_ = nullptr;
        free_ = 0;
        blockSize_ = kFirstBlock;
    }

private:
    // Blocks double from a small first one, so a module edited in one line costs little and one edited
    // throughout wastes at most one block.
    static constexpr size_t kFirstBlock = 1024;
    static constexpr size_t kLargestBlock = 256 * 1024;
    void NewBlock(size_t atLeast) {
        const size_t size = std::max(atLeast, blockSize_);
        blockSize_ = std::min(blockSize_ * 2, kLargestBlock);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        next_ = blocks_.back().get();
        free_ = size;
    }
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::array<Shared, 64> recent_{};
    char* next_ = nullptr;
    size_t free_ = 0;
    size_t blockSize_ = kFirstBlock;
};

// One visible line: its text, its line break held in place, and the hidden lines (member attributes)
// that follow it. The text is a view: of the bytes the module was loaded from (or last saved as) while
// the line is as it was, else of the module's EditedText. Most lines have no hidden lines; those that
// have them name them by number in Impl::hidden. Invariant: `eol` is always a break; a file without a
// final break is remembered in Impl::finalBreak.
struct Line {
    Line() = default;
    Line(std::string_view t, std::string_view e) : data(t.data()), size(static_cast<uint32_t>(t.size())), eol(BreakCode(e)) {}
    std::string_view Text() const { return {data, size}; }
    std::string_view Eol() const { return kBreaks[eol]; }

    const char* data = nullptr;
    uint32_t size : 30 = 0;
    uint32_t eol : 2 = 0;
    uint32_t hidden : 31 = 0;  // 1 + the index in Impl::hidden of the raw bytes of this line's hidden lines; 0: none
    // Set when the text is known to hold none of the words the procedure index looks for (see
    // MaySignify); clear when not known. Only the index's own passes set it.
    mutable uint32_t plain : 1 = 0;
};
static_assert(sizeof(Line) == 16, "a module line costs 16 bytes besides its text");

// The physical lines of `bytes` (see ForEachPhysicalLine).
long PhysicalLineCount(std::string_view bytes) {
    long count = 0;
    ForEachPhysicalLine(bytes, [&](std::string_view, std::string_view) {
        ++count;
        return true;
    });
    return count;
}

// About as many as the physical lines of `bytes` (lone CRs left out), for room to be reserved: one search
// per line.
size_t LineCountEstimate(std::string_view bytes) {
    size_t breaks = 0;
    const char* end = bytes.data() + bytes.size();
    for (const char* p = bytes.data(); (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) ++breaks;
    return breaks + 1;
}

// Splits inserted text at every line break (CR LF, lone CR or lone LF) into `parts`, which it clears
// first: the caller keeps one vector for every edit, so that the usual one-line edit allocates nothing.
void SplitText(std::string_view text, std::vector<std::string_view>& parts) {
    parts.clear();
    // The usual edit: one line (two searches for one byte each beat find_first_of's search for either).
    if (text.empty() || (!std::memchr(text.data(), '\r', text.size()) && !std::memchr(text.data(), '\n', text.size()))) {
        parts.push_back(text);
        return;
    }
    std::string_view lastEol;
    ForEachPhysicalLine(text, [&](std::string_view line, std::string_view eol) {
        parts.push_back(line);
        lastEol = eol;
        return true;
    });
    // A break at the very end starts one more (empty) line.
    if (!lastEol.empty()) parts.emplace_back();
}

std::string_view FirstWord(std::string_view trimmed) {
    size_t i = 0;
    while (i < trimmed.size() && trimmed[i] != ' ' && trimmed[i] != '\t') ++i;
    return trimmed.substr(0, i);
}

// What a line means to the procedure index, taken without its context.
struct Significance {
    enum class What { None, Declaration, End, Other } what = What::None;
    std::string name;
    ProcKind kind = ProcKind::Proc;
    bool operator==(const Significance&) const = default;
};

// What VB6 takes between procedures and after the last: blanks, comments, compiler directives (a
// procedure defined in both branches of an #If ends in #End If) and member attributes.
bool MayFollowAProcedure(std::string_view line) {
    return syntax::IsBlankOrComment(line) || lex::IsDirective(line) || syntax::IsAttributeLine(line);
}

// False when the line holds none of the words the index looks for (Sub, Function, Property, Type, Enum)
// as whole words, and is no directive (`#` first): then nothing in it can declare, end or open anything,
// and Classify has nothing to find. A `#` elsewhere (a comment's rule of #####, a date) means nothing,
// and so does `End`: every End the index reads names one of the words (End Sub, End Type), and End If,
// End With and End Select are most of the lines that hold an End. One pass over the bytes, where the
// full tests would parse the line several times. A word starts after anything but an ASCII letter or `_`
// (a digit or an accented letter before it still counts as a start: finding too much only costs the
// full tests) and ends, as the lexer's words do, before anything but an identifier character
// (`Subclass` and `EnumWindows` are names).
bool MaySignify(std::string_view line) {
    if (lex::IsDirective(line)) return true;
    return text::AnyWordStart(line, [&](size_t i) {
        auto at = [&](std::string_view word) { return lex::KeywordAt(line, i, word); };
        switch (text::FoldAscii(line[i])) {
            case 's': return at("sub");
            case 'f': return at("function");
            case 'p': return at("property");
            case 't': return at("type");
            case 'e': return at("enum");
            default: return false;
        }
    });
}

// MaySignify(now) for a line that read `before`, known plain when `beforePlain`, without a full scan
// where it can: a prefix put before the old text, or taken from its start (a line number, an indent),
// leaves the words of the rest starting where they did, when a blank or the like parts the two. Taken
// from the start, it may leave a `#` first.
bool MaySignifyAfterEdit(std::string_view before, bool beforePlain, std::string_view now) {
    auto parts = [](char c) { return !text::IsAsciiWordByte(c); };
    if (beforePlain && now.size() >= before.size() && now.ends_with(before)) {
        const auto prefix = now.substr(0, now.size() - before.size());
        if (prefix.empty() || (parts(prefix.back()) && !MaySignify(prefix))) return false;
    } else if (beforePlain && before.size() > now.size() && before.ends_with(now)) {
        if (parts(before[before.size() - now.size() - 1]) && !lex::IsDirective(now)) return false;
    }
    return MaySignify(now);
}

Significance Classify(std::string_view line) {
    if (!MaySignify(line)) return {};
    if (auto d = syntax::MatchDeclaration(line)) return {Significance::What::Declaration, d->name, d->kind};
    if (syntax::MatchEnd(line) != syntax::EndKind::None) return {Significance::What::End, {}, ProcKind::Proc};
    // Lines that open or close what the index skips or joins: directives (alternative declarations),
    // Type/Enum blocks, one-line procedures, and a declaration split after its keyword. Their `name` says
    // which, so that one such line put for another (an #End If for an Enum) is not taken as neutral.
    std::string shape;
    if (lex::IsDirective(line)) {
        const auto word = lex::SkipBlanks(lex::SkipBlanks(line).substr(1));
        size_t n = 0;
        while (n < word.size() && lex::IsLetter(word[n])) ++n;
        shape += "#" + text::Lower(word.substr(0, n)) + " ";
    }
    if (const auto block = syntax::MatchBlockStart(line); block != syntax::BlockKind::None)
        shape += "block " + std::to_string(static_cast<int>(block)) + " ";
    if (syntax::MatchBlockEnd(line, syntax::BlockKind::Type)) shape += "end type ";
    if (syntax::MatchBlockEnd(line, syntax::BlockKind::Enum)) shape += "end enum ";
    if (const auto end = syntax::TrailingEnd(line); end != syntax::EndKind::None)
        shape += "ends " + std::to_string(static_cast<int>(end)) + " ";
    if (shape.empty() && lex::Continues(line)) {
        const std::string probe = std::string(lex::WithoutContinuation(line)) + " x";
        if (syntax::MatchDeclaration(probe)) shape = "declaration split";
        else if (syntax::MatchBlockStart(probe) != syntax::BlockKind::None) shape = "block split";
    }
    if (shape.empty()) return {};
    return {Significance::What::Other, std::move(shape), ProcKind::Proc};
}

// Everything the index reads from one logical line: two statements with the same shape index alike.
struct StatementShape {
    std::optional<syntax::Declaration> declaration;
    syntax::EndKind end = syntax::EndKind::None;
    syntax::EndKind trailingEnd = syntax::EndKind::None;
    syntax::BlockKind blockStart = syntax::BlockKind::None;
    bool endsType = false, endsEnum = false, directive = false;

    explicit StatementShape(std::string_view joined)
        : declaration(syntax::MatchDeclaration(joined)),
          end(syntax::MatchEnd(joined)),
          trailingEnd(syntax::TrailingEnd(joined)),
          blockStart(syntax::MatchBlockStart(joined)),
          endsType(syntax::MatchBlockEnd(joined, syntax::BlockKind::Type)),
          endsEnum(syntax::MatchBlockEnd(joined, syntax::BlockKind::Enum)),
          directive(lex::IsDirective(joined)) {}
    bool operator==(const StatementShape& o) const {
        const bool sameDeclaration =
            declaration.has_value() == o.declaration.has_value() &&
            (!declaration || (declaration->name == o.declaration->name && declaration->kind == o.declaration->kind &&
                              declaration->keyword == o.declaration->keyword));
        return sameDeclaration && end == o.end && trailingEnd == o.trailingEnd && blockStart == o.blockStart &&
               endsType == o.endsType && endsEnum == o.endsEnum && directive == o.directive;
    }
};

std::string IndexKey(std::string_view name, ProcKind kind) {
    return text::Lower(name) + '\x01' + static_cast<char>('0' + static_cast<int>(kind));
}

}  // namespace

struct SourceModule::Impl {
    std::string original;
    std::string header;  // hidden lines before line 1
    GapBuffer<Line> lines;
    EditedText edited;  // the texts of the lines edited since the load or the last save
    std::vector<std::string> retired;  // earlier originals some lines still view (see MarkSaved)
    std::vector<std::string> hidden;   // the hidden lines of the lines that have some, each with its breaks
    std::vector<std::string_view> parts;  // ReplaceLine's text, split at its line breaks
    std::vector<std::string_view> deleted;  // DeleteLines' texts (kept where they stand until a save)

    std::string_view HiddenOf(const Line& l) const { return l.hidden ? std::string_view(hidden[l.hidden - 1]) : std::string_view(); }
    std::string& HiddenText(Line& l) {
        if (!l.hidden) {
            hidden.emplace_back();
            l.hidden = static_cast<uint32_t>(hidden.size()) & 0x7FFFFFFFu;
        }
        return hidden[l.hidden - 1];
    }
    std::string defaultEol = "\r\n";
    bool finalBreak = true;
    std::string vbName;
    size_t vbNameAt = std::string::npos;  // where vbName's value stands in `header`
    uint64_t edits = 0;  // see Edits()

    // Procedure index, rebuilt lazily when an edit may have changed the structure, shifted when not.
    // Shifts are kept like a gap: the body and end of procs[i] for i >= pendingFrom are short by
    // pendingDelta, so an edit only touches the procedures between the last edit and this one.
    // `start` is kept for procs[0] only; the others start after the previous procedure's end.
    mutable std::vector<ProcInfo> procs;
    mutable std::unordered_map<std::string, size_t> byName;
    mutable bool dirty = true;
    mutable size_t pendingFrom = 0;
    mutable long pendingDelta = 0;
    mutable size_t lastFound = 0;  // the procedure IndexOfLine found last (a hint only)
    // The first procedure that is never closed by its End statement, as the last rebuild found it.
    mutable std::optional<ProcInfo> unclosed;
    // The first line of code outside every procedure where VB6 takes none: after a procedure's End, or
    // an End statement with no procedure open (`end` says which). Rebuilds only find it: it never
    // changes the index, and any edit may make or mend one.
    struct Stray {
        long line = 0;
        syntax::EndKind end = syntax::EndKind::None;
    };
    mutable std::optional<Stray> stray;

    std::string_view TextAt(long line) const { return lines[static_cast<size_t>(line - 1)].Text(); }
    /// TextAt as the `lineAt` of the logical-line helpers (declaration_end.h).
    auto LineAt() const {
        return [this](long j) { return TextAt(j); };
    }
    long BodyOf(size_t i) const { return procs[i].body + (i >= pendingFrom ? pendingDelta : 0); }
    long EndOf(size_t i) const { return procs[i].end + (i >= pendingFrom ? pendingDelta : 0); }
    long DeclarationEndOf(size_t i) const { return procs[i].declarationEnd + (i >= pendingFrom ? pendingDelta : 0); }
    // After an edit the index followed at `line`: a declaration given again in #Else branches ends at
    // its #End If, over blank and comment lines, so an edit there may move its end though no statement
    // that declares changed. Read it again from the edited text; on a difference, rebuild. The
    // declaration of the procedure before may run on through this one's, which it then takes for its
    // #Else signature: it is read again too when only blanks, comments and directives part the two.
    // The usual edit lies below a statement that ends the declaration, and costs one look at that line.
    // `lookAsBefore()`: true when the edit cannot have changed what that look finds, which holds when it
    // only took away or put blank and comment lines (the look passes over them), or when the line held a
    // statement that ends the look (StopsLook) before the edit and holds one still.
    template <class LookAsBefore>
    void CheckDeclarationEnd(long line, const LookAsBefore& lookAsBefore) const {
        if (dirty || procs.empty()) return;
        size_t k = IndexOfLine(line);
        if (k == kNone) return;
        if (line < BodyOf(k)) {  // above a declaration: the one before may run on to here
            if (k == 0) return;
            --k;
        }
        long j = DeclarationEndOf(k) + 1;
        while (j < line && syntax::IsBlankOrComment(TextAt(j))) ++j;
        if (j < line && !lex::IsDirective(TextAt(j))) return;
        bool sameLook = j == line && lookAsBefore();
        for (;;) {
            if (!sameLook && DeclarationEnd(LineAt(), BodyOf(k), Count()) != DeclarationEndOf(k)) {
                dirty = true;
                return;
            }
            sameLook = false;
            if (k == 0) return;
            const long next = BodyOf(k--);
            long i = DeclarationEndOf(k) + 1;
            while (i < next && (syntax::IsBlankOrComment(TextAt(i)) || lex::IsDirective(TextAt(i)))) ++i;
            if (i < next) return;
        }
    }
    // True for a line that ends the look for #Else branches after a declaration: neither blank, nor a
    // comment, nor a directive.
    static bool StopsLook(std::string_view text) { return !syntax::IsBlankOrComment(text) && !lex::IsDirective(text); }
    // CheckDeclarationEnd's `lookAsBefore` for an edit that made the line read `after` where it read
    // `before`, taking away the lines `removed` and putting the lines `put`.
    static bool LookAsBefore(std::string_view before, std::string_view after, std::span<const std::string_view> removed,
                             std::span<const std::string_view> put) {
        auto allBlankOrComment = [](std::span<const std::string_view> texts) {
            return std::all_of(texts.begin(), texts.end(), [](std::string_view t) { return syntax::IsBlankOrComment(t); });
        };
        return (StopsLook(before) && StopsLook(after)) || (allBlankOrComment(removed) && allBlankOrComment(put));
    }
    long StartOf(size_t i) const { return i == 0 ? procs[0].start : EndOf(i - 1) + 1; }
    // Moves the pending boundary to `k`.
    void MovePending(size_t k) const {
        for (; pendingFrom < k; ++pendingFrom) {
            procs[pendingFrom].body += pendingDelta;
            procs[pendingFrom].declarationEnd += pendingDelta;
            procs[pendingFrom].end += pendingDelta;
        }
        while (pendingFrom > k) {
            --pendingFrom;
            procs[pendingFrom].body -= pendingDelta;
            procs[pendingFrom].declarationEnd -= pendingDelta;
            procs[pendingFrom].end -= pendingDelta;
        }
    }
    // Applies every pending shift and fills in every start.
    void Settle() const {
        if (dirty) Rebuild();
        MovePending(procs.size());
        pendingDelta = 0;
        for (size_t k = 1; k < procs.size(); ++k) procs[k].start = procs[k - 1].end + 1;
    }

    long Count() const { return static_cast<long>(lines.size()); }
    /// A line holding `text` (kept in `edited`) and the module's usual line break; `insignificant` is set
    /// to whether Classify finds nothing in it.
    Line Made(std::string_view text, bool& insignificant) {
        if (text.size() > kLongestLine) throw RuntimeError(errors::code::kInvalidProcedureCall, "line too long");
        if (text.empty()) {
            insignificant = true;
            return Line({}, defaultEol);
        }
        auto& kept = edited.KeepShared(text);
        if (kept.insignificant < 0) kept.insignificant = Classify(text).what == Significance::What::None;
        insignificant = kept.insignificant > 0;
        return Line(kept.text, defaultEol);
    }
    std::string_view Keep(std::string_view text) {
        if (text.size() > kLongestLine)
            throw RuntimeError(errors::code::kInvalidProcedureCall, "line too long");
        return edited.Keep(text);
    }
    void SetText(Line& line, std::string_view text, bool plain) {
        const auto kept = Keep(text);
        line.data = kept.data();
        line.size = static_cast<uint32_t>(kept.size());
        line.plain = plain;
    }
    // Points every line back into `original`, which must hold what Serialize() gives, and drops the
    // edited texts. Returns false, changing nothing, when `original` does not hold them.
    bool ViewOriginal();
    bool ContinuesAt(long line) const { return line >= 1 && line <= Count() && lex::Continues(TextAt(line)); }
    // True when line `line` belongs to a statement continued over several lines that one of its lines
    // makes significant: an edit of any of its lines may change what it declares, since a declaration
    // may be split anywhere, even before its keyword (a lone ` _` line above `Sub A()`).
    bool InDeclaringStatement(long line) const {
        long first = line;
        while (ContinuesAt(first - 1)) --first;
        const long last = LogicalLast(LineAt(), line, Count());
        if (first == last) return false;
        for (long j = first; j <= last; ++j)
            if (Classify(TextAt(j)).what != Significance::What::None) return true;
        return false;
    }
    // True when line `line` of a continued statement may become `text` (no line break, the continuation
    // mark kept) without changing what the statement means to the index: re-indenting a declaration's
    // second line leaves the index as it is.
    bool SameStatementWith(long line, std::string_view text) const {
        long first = line;
        while (ContinuesAt(first - 1)) --first;
        const long last = LogicalLast(LineAt(), line, Count());
        const auto before = LineAt();
        const auto after = [&](long j) -> std::string_view { return j == line ? text : TextAt(j); };
        return StatementShape(JoinLogical(before, first, last)) == StatementShape(JoinLogical(after, first, last));
    }

    void CheckLine(long line, const char* what) const {
        if (line < 1 || line > Count()) [[unlikely]]
            LineOutside(line, what);
    }
    // Out of line, so that the check itself costs a comparison where every line is read.
    [[noreturn]] [[gnu::cold]] [[gnu::noinline]] void LineOutside(long line, const char* what) const {
        throw RuntimeError(errors::code::kInvalidProcedureCall,
                           std::string(what) + ": line " + std::to_string(line) + " is outside 1.." +
                               std::to_string(Count()));
    }

    void Rebuild() const;
    /// The line of the file (header and hidden lines counted) that visible line `line` stands on.
    long FileLineOf(long line) const {
        long fileLine = PhysicalLineCount(header) + line;
        for (long k = 1; k < line; ++k) fileLine += PhysicalLineCount(HiddenOf(lines[static_cast<size_t>(k - 1)]));
        return fileLine;
    }
    /// The index of the procedure; error 35 when there is none.
    size_t Find(std::string_view name, ProcKind kind) const;
    /// The procedure whose range holds `line` (the last that starts at or above it), or kNone.
    size_t IndexOfLine(long line) const {
        // The passes ask line after line: the procedure found last, or the one after it, holds the line.
        auto holds = [&](size_t i) { return StartOf(i) <= line && (i + 1 == procs.size() || line < StartOf(i + 1)); };
        for (size_t i = lastFound; i < procs.size() && i <= lastFound + 1; ++i)
            if (holds(i)) return lastFound = i;
        size_t lo = 0, hi = procs.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (StartOf(mid) <= line) lo = mid + 1;
            else hi = mid;
        }
        if (lo == 0) return kNone;
        return lastFound = lo - 1;
    }
    // Keeps the index current after `delta` lines were inserted (or removed, when negative) after line `after`.
    void Shift(long after, long delta) const;
    // True when lines from `firstChanged` on may move the declarations section's end.
    bool TouchesDeclarations(long firstChanged) const {
        return !dirty && !procs.empty() && firstChanged <= BodyOf(0);
    }
};

void SourceModule::Impl::Rebuild() const {
    procs.clear();
    byName.clear();
    unclosed.reset();
    stray.reset();
    const long n = Count();
    const auto lineAt = LineAt();
    syntax::EndKind awaited = syntax::EndKind::None;  // the End statement the open procedure waits for
    syntax::BlockKind block = syntax::BlockKind::None;  // a Type or Enum block at module level
    long lastDeclarationCode = 0;
    long previousEnd = 0;
    for (long i = 1; i <= n;) {
        const long last = LogicalLast(lineAt, i, n);
        std::string joinedLines;
        const std::string_view joined = i == last ? TextAt(i) : std::string_view(joinedLines = JoinLogical(lineAt, i, last));
        // Most statements hold none of the words below; they neither end, declare nor open anything.
        const bool may = MaySignify(joined);
        if (i == last) lines[static_cast<size_t>(i - 1)].plain = !may;
        std::optional<syntax::Declaration> d;
        if (block != syntax::BlockKind::None) {
            if (may && syntax::MatchBlockEnd(joined, block)) block = syntax::BlockKind::None;
            if (procs.empty()) lastDeclarationCode = last;
        } else if (awaited != syntax::EndKind::None && may && syntax::MatchEnd(joined) != syntax::EndKind::None) {
            procs.back().end = last;
            previousEnd = last;
            awaited = syntax::EndKind::None;
        } else if (may && (d = syntax::MatchDeclaration(joined)) && awaited != syntax::EndKind::None &&
                   text::IEquals(d->name, procs.back().name) && d->kind == procs.back().kind) {
            // Another signature of the open procedure, in another #If branch with a body of its own.
        } else if (d) {
            if (awaited != syntax::EndKind::None) {
                // The open procedure is never closed: remember the first such, and go on as if it ended here.
                if (!unclosed) unclosed = procs.back();
                procs.back().end = i - 1;
                previousEnd = i - 1;
            }
            const long start = procs.empty() ? lastDeclarationCode + 1 : previousEnd + 1;
            const long declarationEnd = DeclarationEnd(lineAt, i, n);
            procs.push_back({d->name, d->kind, start, i, declarationEnd, 0});
            awaited = syntax::EndFor(d->keyword);
            if (syntax::TrailingEnd(joined) != syntax::EndKind::None) {  // a one-line procedure
                procs.back().end = last;
                previousEnd = last;
                awaited = syntax::EndKind::None;
            }
            i = declarationEnd + 1;
            continue;
        } else if (awaited == syntax::EndKind::None) {
            const syntax::EndKind end = may ? syntax::MatchEnd(joined) : syntax::EndKind::None;
            if (!stray && (end != syntax::EndKind::None || (!procs.empty() && !MayFollowAProcedure(joined))))
                stray = Stray{i, end};
            block = may ? syntax::MatchBlockStart(joined) : syntax::BlockKind::None;
            if (procs.empty() && !syntax::IsBlankOrComment(TextAt(i))) lastDeclarationCode = last;
        }
        i = last + 1;
    }
    if (awaited != syntax::EndKind::None && !unclosed) unclosed = procs.back();
    // The last procedure owns everything after it.
    if (!procs.empty()) procs.back().end = n;
    // The first of two copies answers the lookups by name; each later one counts its place.
    for (size_t k = 0; k < procs.size(); ++k) {
        if (byName.emplace(IndexKey(procs[k].name, procs[k].kind), k).second) continue;
        size_t previous = k - 1;
        while (procs[previous].kind != procs[k].kind || !text::IEquals(procs[previous].name, procs[k].name)) --previous;
        procs[k].copy = procs[previous].copy + 1;
    }
    pendingFrom = procs.size();
    pendingDelta = 0;
    dirty = false;
}

void SourceModule::Impl::Shift(long after, long delta) const {
    if (dirty || procs.empty() || delta == 0) return;
    // An unclosed procedure ends where the next declaration starts, which no shift can follow.
    if (unclosed) {
        dirty = true;
        return;
    }
    // The first procedure whose declaration lies below the edit moves whole, and so do all after it.
    size_t lo = 0, hi = procs.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (BodyOf(mid) > after) hi = mid;
        else lo = mid + 1;
    }
    MovePending(lo);
    pendingDelta += delta;
    // The procedure the edit lies in ends further down (or up).
    if (lo > 0 && procs[lo - 1].end > after) procs[lo - 1].end += delta;
    // The last procedure owns the module's end.
    const size_t last = procs.size() - 1;
    procs[last].end = Count() - (last >= pendingFrom ? pendingDelta : 0);
}

size_t SourceModule::Impl::Find(std::string_view name, ProcKind kind) const {
    if (dirty) Rebuild();
    auto it = byName.find(IndexKey(name, kind));
    if (it == byName.end()) throw RuntimeError(errors::code::kSubOrFunctionNotDefined, "Sub or Function not defined");
    return it->second;
}

SourceModule::SourceModule() : impl_(std::make_unique<Impl>()) {}
SourceModule::~SourceModule() = default;

namespace {

// Lines view the bytes of `original`: they must not move with the string, as a short one held inside it would.
void KeepOnHeap(std::string& bytes) {
    constexpr size_t kBeyondInline = 32;
    if (bytes.capacity() < kBeyondInline) bytes.reserve(kBeyondInline);
}

std::string Where(std::string_view fileName) { return fileName.empty() ? std::string("module") : std::string(fileName); }

void RefuseBinary(std::string_view bytes, std::string_view fileName) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        const long line = 1 + static_cast<long>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(nul), '\n'));
        throw RuntimeError(errors::code::kBadFileMode,
                           Where(fileName) + ":" + std::to_string(line) + ": not VB6 source text (NUL byte)");
    }
}

// The Begin ... End blocks of a header. They nest by count, as VB6 reads them; which Begin lacks its End
// is told by indentation, since VB6 writes each End under its own Begin.
class BeginBlocks {
public:
    bool Open() const { return depth_ > 0; }
    void Begin(long line, std::string_view text) {
        if (depth_++ == 0) outer_ = line;
        stack_.push_back({line, Indent(text)});
    }
    void End(std::string_view text) {
        --depth_;
        // Blocks indented deeper than this End were never closed; the End closes the one above them.
        const size_t indent = Indent(text);
        while (!stack_.empty() && stack_.back().indent > indent) {
            if (!unclosed_) unclosed_ = stack_.back().line;
            stack_.pop_back();
        }
        if (!stack_.empty()) stack_.pop_back();
        if (depth_ == 0) {  // closed by count after all: what indentation said of it no longer matters
            unclosed_ = 0;
            stack_.clear();
        }
    }
    /// The line of a Begin never closed: the first that indentation shows, else the outermost open one.
    long Unclosed() const { return unclosed_ ? unclosed_ : !stack_.empty() ? stack_.front().line : outer_; }

private:
    static size_t Indent(std::string_view text) {
        size_t n = 0;
        while (n < text.size() && (text[n] == ' ' || text[n] == '\t')) ++n;
        return n;
    }
    struct Block {
        long line;
        size_t indent;
    };
    int depth_ = 0;
    long outer_ = 0;
    long unclosed_ = 0;
    std::vector<Block> stack_;
};

// The header: VERSION, Object= lines, BEGIN ... END / Begin ... End blocks, module attributes. Read one
// physical line at a time, so that a file's shape can be read without splitting it first.
class HeaderReader {
public:
    /// Fills `vbName` with the last VB_Name value, and `vbNameAt` with where it stands in `bytes`, the
    /// bytes the lines are views of (a rename rewrites that one).
    HeaderReader(std::string_view bytes, std::string& vbName, size_t& vbNameAt)
        : bytes_(bytes), vbName_(vbName), vbNameAt_(vbNameAt) {}

    /// Takes physical line `line` (from 1) of the header; false when `text` is the first code line, which
    /// is not taken.
    bool Take(long line, std::string_view text) {
        const auto t = text::Trim(text);
        const auto word = FirstWord(t);
        const bool opens = text::IEquals(word, "Begin");
        if (blocks_.Open()) {
            if (opens)
                blocks_.Begin(line, text);
            else if (text::IEquals(t, "End"))
                blocks_.End(text);
            return true;
        }
        if (opens) {
            blocks_.Begin(line, text);
        } else if (text::IStartsWith(t, "Attribute ")) {
            sawAttribute_ = true;
            auto rest = t.substr(10);
            if (text::IStartsWith(text::LTrim(rest), "VB_Name")) {
                const auto q1 = rest.find('"');
                const auto q2 = q1 == std::string_view::npos ? q1 : rest.find('"', q1 + 1);
                if (q2 != std::string_view::npos) {
                    vbName_ = std::string(rest.substr(q1 + 1, q2 - q1 - 1));
                    vbNameAt_ = static_cast<size_t>(rest.data() + q1 + 1 - bytes_.data());
                }
            }
        } else if (!sawAttribute_ && (text::IEquals(word, "VERSION") || text::IStartsWith(t, "Object=") ||
                                      text::IEquals(word, "Object"))) {
            // part of the header
        } else {
            return false;
        }
        return true;
    }

    /// Throws when a Begin block is still open once the header's lines are taken.
    void Finish(std::string_view fileName) const {
        if (blocks_.Open())
            throw RuntimeError(errors::code::kBadFileMode, Where(fileName) + ":" + std::to_string(blocks_.Unclosed()) +
                                                               ": Begin block is never closed by End");
    }

private:
    std::string_view bytes_;
    std::string& vbName_;
    size_t& vbNameAt_;
    BeginBlocks blocks_;
    bool sawAttribute_ = false;
};

// The code after the header: member attributes (not inside a continued statement) hide behind the line
// before them. Told one physical line at a time, in order.
class CodeReader {
public:
    /// True when `text`, the next line, hides behind the line before it.
    bool Hides(std::string_view text) {
        if (!previousContinues_ && anyVisible_ && syntax::IsAttributeLine(text)) return true;
        anyVisible_ = true;
        previousContinues_ = lex::Continues(text);
        return false;
    }

private:
    bool previousContinues_ = false;
    bool anyVisible_ = false;
};

/// What a module's lines are, read as they are met in one pass over `text` (the bytes after a byte order
/// mark): calls header(text, eol) for each line of the header, then visible(text, eol) or hidden(text, eol)
/// for each code line, in order; throws when a Begin block is never closed. `bytes` and the VB_Name
/// outputs are HeaderReader's.
template <class Header, class Visible, class Hidden>
void ReadLines(std::string_view text, std::string_view bytes, std::string_view fileName, std::string& vbName,
               size_t& vbNameAt, Header header, Visible visible, Hidden hidden) {
    HeaderReader headerReader(bytes, vbName, vbNameAt);
    CodeReader code;
    bool inHeader = true;
    long line = 0;
    ForEachPhysicalLine(text, [&](std::string_view t, std::string_view eol) {
        if (inHeader) {
            if (headerReader.Take(++line, t)) {
                header(t, eol);
                return true;
            }
            inHeader = false;
        }
        if (code.Hides(t))
            hidden(t, eol);
        else
            visible(t, eol);
        return true;
    });
    headerReader.Finish(fileName);
}

}  // namespace

std::unique_ptr<SourceModule> SourceModule::Parse(std::string bytes, std::string_view fileName) {
    RefuseBinary(bytes, fileName);
    std::unique_ptr<SourceModule> m(new SourceModule());
    Impl& d = *m->impl_;
    d.original = std::move(bytes);
    KeepOnHeap(d.original);
    // A byte order mark stays at the very start of the header, out of the way of the header's words.
    const size_t mark = std::string_view(d.original).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    d.header.assign(d.original, 0, mark);
    const std::string_view text = std::string_view(d.original).substr(mark);
    // Room for an eighth more lines than loaded: the usual passes (handlers, numbering) add a few lines
    // to each procedure, and the first that does should not have to copy every line.
    const size_t count = LineCountEstimate(text);
    d.lines.reserve(count + count / 8 + 16);
    // The first line's break is the module's usual one; only a last line may have none.
    bool first = true;
    auto eolOf = [&](std::string_view eol) {
        if (first && !eol.empty()) d.defaultEol = std::string(eol);
        first = false;
        d.finalBreak = !eol.empty();
        return eol.empty() ? std::string_view(d.defaultEol) : eol;
    };
    ReadLines(
        text, d.original, fileName, d.vbName, d.vbNameAt,
        [&](std::string_view t, std::string_view eol) {
            d.header += t;
            d.header += eolOf(eol);
        },
        [&](std::string_view t, std::string_view eol) {
            if (t.size() > kLongestLine)
                throw RuntimeError(errors::code::kBadFileMode, Where(fileName) + ": a line is too long");
            d.lines.push_back(Line(t, eolOf(eol)));
        },
        [&](std::string_view t, std::string_view eol) { d.HiddenText(d.lines.back()).append(t).append(eolOf(eol)); });
    return m;
}

SourceModule::Shape SourceModule::ShapeOf(std::string_view bytes, std::string_view fileName) {
    RefuseBinary(bytes, fileName);
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    // The lines as Parse would keep them, counted as they are met.
    Shape shape;
    size_t vbNameAt = std::string::npos;
    ReadLines(
        bytes, bytes, fileName, shape.vbName, vbNameAt, [](std::string_view, std::string_view) {},
        [&](std::string_view t, std::string_view) {
            ++shape.lines;
            shape.longestLine = std::max(shape.longestLine, t.size());
        },
        [](std::string_view, std::string_view) {});
    return shape;
}

long SourceModule::FileLine(long line) const { return impl_->FileLineOf(line); }

std::string SourceModule::StructureFault(std::string_view fileName) const {
    const Impl& d = *impl_;
    // A fresh read, since an edit the index can follow may still make or mend a fault. At load, when
    // this is asked, the index is still to be built, so the read costs nothing more.
    d.dirty = true;
    d.Settle();
    const std::string where = Where(fileName) + ":";
    if (!d.unclosed) {
        if (!d.stray) return {};
        const std::string line = std::to_string(d.FileLineOf(d.stray->line));
        if (d.stray->end != syntax::EndKind::None)
            return where + line + ": End " + std::string(syntax::EndWord(d.stray->end)) +
                   " stands outside every procedure";
        return where + line + ": only comments may appear after End Sub, End Function or End Property";
    }
    const ProcInfo& p = *d.unclosed;
    const auto lineAt = d.LineAt();
    const auto declared = MatchLogicalDeclaration(lineAt, p.body, LogicalLast(lineAt, p.body, d.Count()));
    const std::string keyword = declared ? declared->keyword : "Sub";
    return where + std::to_string(d.FileLineOf(p.body)) + ": " +
           keyword + " " + p.name + " is never closed by End " + std::string(syntax::EndWord(syntax::EndFor(keyword)));
}

long SourceModule::CountOfLines() const { return impl_->Count(); }

std::string SourceModule::Lines(long line, long count) const {
    if (count <= 0) return {};
    impl_->CheckLine(line, "Lines");
    impl_->CheckLine(line + count - 1, "Lines");
    std::string out(impl_->TextAt(line));
    for (long k = 1; k < count; ++k) {
        out += "\r\n";
        out += impl_->TextAt(line + k);
    }
    return out;
}

std::string_view SourceModule::LineText(long line, std::string&) const {
    impl_->CheckLine(line, "Lines");
    return impl_->TextAt(line);
}

void SourceModule::ReplaceLine(long line, std::string_view text) {
    Impl& d = *impl_;
    d.CheckLine(line, "ReplaceLine");
    ++d.edits;
    SplitText(text, d.parts);
    const auto& parts = d.parts;
    auto& lines = d.lines;
    const size_t at = static_cast<size_t>(line - 1);
    Line& old = lines[at];
    const long added = static_cast<long>(parts.size()) - 1;
    const std::string_view oldText = old.Text();
    const bool oldContinues = lex::Continues(oldText);

    // The new lines of parts [from, to), and whether Classify finds nothing in any of them.
    auto makeLines = [&](size_t from, size_t to, bool& allInsignificant) {
        std::vector<Line> made;
        made.reserve(to - from);
        allInsignificant = true;
        for (size_t k = from; k < to; ++k) {
            bool insignificant = false;
            made.push_back(d.Made(parts[k], insignificant));
            allInsignificant = allInsignificant && insignificant;
        }
        return made;
    };

    if (added > 0 && parts.back() == oldText && parts.front() != oldText) {
        // Lines inserted before the old one, which keeps its break and its hidden lines.
        const bool context = d.ContinuesAt(line - 1);
        bool insertedInsignificant = true;
        auto made = makeLines(0, parts.size() - 1, insertedInsignificant);
        const bool neutral = insertedInsignificant && lex::Continues(parts[parts.size() - 2]) == context &&
                             !d.TouchesDeclarations(line) && !(context && d.InDeclaringStatement(line));
        lines.insert(at, std::move(made));
        if (!neutral) d.dirty = true;
        d.Shift(line - 1, added);
        d.CheckDeclarationEnd(line, [&] {
            return Impl::LookAsBefore(oldText, parts.front(), {}, std::span(parts).first(parts.size() - 1));
        });
        return;
    }

    // The old line becomes the first part (keeping its hidden lines); the rest goes after it, and the old
    // line break moves to the last part so that a line without a final break stays last.
    const bool sameFirst = parts.front() == oldText;
    const bool firstPlain = !sameFirst && !MaySignifyAfterEdit(oldText, old.plain, parts.front());
    auto classifyOld = [&] { return old.plain ? Significance{} : Classify(oldText); };
    bool restInsignificant = true;
    auto made = added > 0 ? makeLines(1, parts.size(), restInsignificant) : std::vector<Line>();
    const bool neutral = (sameFirst || classifyOld() == (firstPlain ? Significance{} : Classify(parts.front()))) &&
                         restInsignificant && lex::Continues(parts.back()) == oldContinues &&
                         !d.TouchesDeclarations(sameFirst ? line + 1 : line) &&
                         // Lines put after a continued line join its statement, which may be a declaration.
                         (sameFirst ? !(oldContinues && d.InDeclaringStatement(line))
                                    : !d.InDeclaringStatement(line) ||
                                          (added == 0 && d.SameStatementWith(line, parts.front())));
    if (!sameFirst) d.SetText(old, parts.front(), firstPlain);
    if (added > 0) {
        const unsigned eol = made.back().eol;
        made.back().eol = old.eol;
        old.eol = eol;
        lines.insert(at + 1, std::move(made));
    }
    if (!neutral) d.dirty = true;
    d.Shift(line, added);
    d.CheckDeclarationEnd(line, [&] { return Impl::LookAsBefore(oldText, parts.front(), std::span(&oldText, 1), parts); });
}

void SourceModule::DeleteLines(long line, long count) {
    Impl& d = *impl_;
    if (count <= 0) return;
    d.CheckLine(line, "DeleteLines");
    d.CheckLine(line + count - 1, "DeleteLines");
    ++d.edits;
    const long last = line + count - 1;
    // The statements of the first and the last deleted line may reach beyond the range, and the
    // deletion joins what is left of them into one.
    bool neutral = !d.TouchesDeclarations(line) && d.ContinuesAt(last) == d.ContinuesAt(line - 1) &&
                   !d.InDeclaringStatement(line) && (last == line || !d.InDeclaringStatement(last));
    std::string orphans;
    // The deleted texts, read again after the deletion only when the declaration's end needs them.
    auto& deleted = d.deleted;
    deleted.clear();
    for (long k = line; k <= last; ++k) {
        const Line& l = d.lines[static_cast<size_t>(k - 1)];
        if (!l.plain && Classify(l.Text()).what != Significance::What::None) neutral = false;
        deleted.push_back(l.Text());
        orphans += d.HiddenOf(l);
    }
    // The final line break belongs to the file, not to the line: keep it with the new last line.
    if (last == d.Count() && line > 1) d.lines[static_cast<size_t>(line - 2)].eol = d.lines.back().eol;
    for (long k = line; k <= last; ++k)  // the deleted lines' own hidden lines are orphans now
        if (const uint32_t h = d.lines[static_cast<size_t>(k - 1)].hidden) std::string().swap(d.hidden[h - 1]);
    // Hidden lines of deleted lines stay with the line before them (or go to the header).
    if (!orphans.empty()) {
        if (line > 1) d.HiddenText(d.lines[static_cast<size_t>(line - 2)]) += orphans;
        else d.header += orphans;
    }
    d.lines.erase(static_cast<size_t>(line - 1), static_cast<size_t>(count));
    if (!neutral) d.dirty = true;
    d.Shift(last, -count);
    if (line <= d.Count())
        d.CheckDeclarationEnd(line, [&] { return Impl::LookAsBefore(deleted.front(), d.TextAt(line), deleted, {}); });
}

std::string SourceModule::ProcOfLine(long line, ProcKind& kind) const {
    const Impl& d = *impl_;
    d.CheckLine(line, "ProcOfLine");
    if (d.dirty) d.Rebuild();
    kind = ProcKind::Proc;
    const size_t i = d.IndexOfLine(line);
    if (i == kNone) return {};
    kind = d.procs[i].kind;
    return d.procs[i].name;
}

long SourceModule::ProcBodyLine(std::string_view name, ProcKind kind) const {
    return impl_->BodyOf(impl_->Find(name, kind));
}

long SourceModule::ProcStartLine(std::string_view name, ProcKind kind) const {
    return impl_->StartOf(impl_->Find(name, kind));
}

long SourceModule::ProcCountLines(std::string_view name, ProcKind kind) const {
    const size_t i = impl_->Find(name, kind);
    return impl_->EndOf(i) - impl_->StartOf(i) + 1;
}

void SourceModule::ProcAt(long line, ProcAtLine& at) const {
    const Impl& d = *impl_;
    d.CheckLine(line, "ProcAt");
    if (d.dirty) d.Rebuild();
    const size_t i = d.IndexOfLine(line);
    if (i == kNone) {
        at.name.clear();
        at.kind = ProcKind::Proc;
        at.copy = 0;
        at.start = at.body = at.last = 0;
        return;
    }
    const ProcInfo& p = d.procs[i];
    // The passes ask line after line, mostly within one procedure: its name is there already.
    if (at.name != p.name) at.name.assign(p.name);
    at.kind = p.kind;
    at.copy = p.copy;
    at.start = d.StartOf(i);
    at.body = d.BodyOf(i);
    at.last = d.EndOf(i);
}

const std::vector<ProcInfo>& SourceModule::Procedures() const {
    impl_->Settle();
    return impl_->procs;
}

const std::string& SourceModule::VBName() const { return impl_->vbName; }

void SourceModule::SetVBName(std::string_view name) {
    Impl& d = *impl_;
    ++d.edits;
    // The line the name was read from, whatever its line breaks; the header only grows at its end.
    if (d.vbNameAt != std::string::npos) {
        d.header.replace(d.vbNameAt, d.vbName.size(), name);
    } else {
        d.header += "Attribute VB_Name = \"";
        d.vbNameAt = d.header.size();
        d.header += std::string(name) + "\"" + d.defaultEol;
    }
    d.vbName = std::string(name);
}

std::string SourceModule::Serialize() const {
    std::string out;
    SerializeInto(out);
    return out;
}

void SourceModule::SerializeInto(std::string& out) const {
    const Impl& d = *impl_;
    // The exact size first: a string grown by appends may take twice the room it needs.
    size_t size = d.header.size();
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const Line& l = d.lines[i];
        size += l.size + l.Eol().size() + d.HiddenOf(l).size();
    }
    // Copied into place: appending piece by piece checked the room and moved the end three times a line.
    out.resize(size);
    char* at = out.data();
    auto put = [&at](std::string_view piece) {
        if (piece.empty()) return;  // an empty view may hold no pointer at all
        std::memcpy(at, piece.data(), piece.size());
        at += piece.size();
    };
    put(d.header);
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const Line& l = d.lines[i];
        put(l.Text());
        put(l.Eol());
        if (l.hidden) put(d.HiddenOf(l));
    }
    if (!d.finalBreak && !out.empty()) {
        if (out.ends_with("\r\n")) out.resize(out.size() - 2);
        else if (out.back() == '\n' || out.back() == '\r') out.pop_back();
    }
}

const std::string& SourceModule::Original() const { return impl_->original; }

uint64_t SourceModule::Edits() const { return impl_->edits; }

bool SourceModule::Changed() const { return Serialize() != impl_->original; }

void SourceModule::MarkSaved() { MarkSaved(Serialize()); }

void SourceModule::MarkSaved(std::string saved) {
    Impl& d = *impl_;
    ++d.edits;
    KeepOnHeap(saved);
    std::string before = std::exchange(d.original, std::move(saved));
    // Unedited lines view the old bytes: they must now view the new ones, or keep the old ones alive.
    if (!d.ViewOriginal()) d.retired.push_back(std::move(before));
}

bool SourceModule::Impl::ViewOriginal() {
    const std::string_view bytes(original);
    if (!bytes.starts_with(header)) return false;
    // Where each line's text stands in `bytes`, laid out as Serialize() writes them.
    std::vector<size_t> at;
    at.reserve(lines.size());
    size_t pos = header.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const std::string_view text = l.Text(), eol = l.Eol(), hidden = HiddenOf(l);
        if (bytes.compare(pos, text.size(), text) != 0) return false;
        at.push_back(pos);
        pos += text.size();
        // The final break may have been left off.
        const bool last = i + 1 == lines.size();
        if (bytes.compare(pos, eol.size(), eol) != 0) {
            if (last && !finalBreak && pos == bytes.size()) break;
            return false;
        }
        pos += eol.size();
        if (bytes.compare(pos, hidden.size(), hidden) != 0) {
            if (!(last && !finalBreak)) return false;
        }
        pos += hidden.size();
    }
    for (size_t i = 0; i < lines.size(); ++i) lines[i].data = bytes.data() + at[i];
    edited.Clear();
    retired.clear();
    return true;
}

size_t SourceModule::LongestLine() const {
    size_t longest = 0;
    for (size_t i = 0; i < impl_->lines.size(); ++i) longest = std::max<size_t>(longest, impl_->lines[i].size);
    return longest;
}

}  // namespace vex::ide
