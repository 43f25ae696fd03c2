#include "ide/source_module.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

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

// A line break held in place: CR LF, CR or LF. A module holds one per line, so no string of its own.
class LineBreak {
public:
    LineBreak() = default;
    explicit LineBreak(std::string_view eol) : size_(static_cast<unsigned char>(std::min<size_t>(eol.size(), 2))) {
        for (size_t k = 0; k < size_; ++k) bytes_[k] = eol[k];
    }
    operator std::string_view() const { return {bytes_, size_}; }

private:
    char bytes_[2] = {'\r', '\n'};
    unsigned char size_ = 2;
};

// The hidden lines after a visible one; most lines have none, so they cost a pointer until they do.
class HiddenLines {
public:
    std::string_view View() const { return text_ ? std::string_view(*text_) : std::string_view(); }
    std::string& Text() {
        if (!text_) text_ = std::make_unique<std::string>();
        return *text_;
    }

private:
    std::unique_ptr<std::string> text_;
};

// One visible line: its text, its line break, and the hidden lines (member attributes) that follow it.
// Invariant: `eol` is never empty; a file without a final break is remembered in Impl::finalBreak.
struct Line {
    std::string text;
    LineBreak eol;
    HiddenLines hidden;  // raw bytes of the hidden lines after this one, each with its own line break
};

struct PhysicalLine {
    std::string_view text;
    std::string_view eol;
};

std::vector<PhysicalLine> SplitPhysical(std::string_view bytes) {
    std::vector<PhysicalLine> out;
    out.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        const size_t len = (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        out.push_back({bytes.substr(start, i - start), bytes.substr(i, len)});
        i += len - 1;
        start = i + 1;
    }
    if (start < bytes.size()) out.push_back({bytes.substr(start), {}});
    return out;
}

// Splits inserted text at every line break: CR LF, lone CR or lone LF.
std::vector<std::string_view> SplitText(std::string_view text) {
    if (text.find_first_of("\r\n") == std::string_view::npos) return {text};  // the usual edit: one line
    const auto physical = SplitPhysical(text);
    std::vector<std::string_view> parts;
    for (const auto& p : physical) parts.push_back(p.text);
    // A break at the very end starts one more (empty) line.
    if (physical.empty() || !physical.back().eol.empty()) parts.emplace_back();
    return parts;
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

// False when the line holds none of the words the index looks for (Sub, Function, Property, End, Type,
// Enum) nor a `#`: then nothing in it can declare, end or open anything, and Classify has nothing to
// find. One pass over the bytes, where the full tests would parse the line several times.
// What VB6 takes between procedures and after the last: blanks, comments, compiler directives (a
// procedure defined in both branches of an #If ends in #End If) and member attributes.
bool MayFollowAProcedure(std::string_view line) {
    return syntax::IsBlankOrComment(line) || lex::IsDirective(line) || syntax::IsAttributeLine(line);
}

bool MaySignify(std::string_view line) {
    auto at = [&](size_t i, std::string_view word) { return text::IStartsWith(line.substr(i), word); };
    for (size_t i = 0; i < line.size(); ++i) {
        switch (text::LowerChar(line[i])) {
            case '#': return true;
            case 's': if (at(i, "sub")) return true; break;
            case 'f': if (at(i, "function")) return true; break;
            case 'p': if (at(i, "property")) return true; break;
            case 't': if (at(i, "type")) return true; break;
            case 'e': if (at(i, "end") || at(i, "enum")) return true; break;
            default: break;
        }
    }
    return false;
}

Significance Classify(std::string_view line) {
    if (!MaySignify(line)) return {};
    if (auto d = syntax::MatchDeclaration(line)) return {Significance::What::Declaration, d->name, d->kind};
    if (syntax::MatchEnd(line) != syntax::EndKind::None) return {Significance::What::End, {}, ProcKind::Proc};
    // Lines that open or close what the index skips or joins: directives (alternative declarations),
    // Type/Enum blocks, one-line procedures, and a declaration split after its keyword.
    if (lex::IsDirective(line) || syntax::MatchBlockStart(line) != syntax::BlockKind::None ||
        syntax::MatchBlockEnd(line, syntax::BlockKind::Type) || syntax::MatchBlockEnd(line, syntax::BlockKind::Enum) ||
        syntax::TrailingEnd(line) != syntax::EndKind::None)
        return {Significance::What::Other, {}, ProcKind::Proc};
    if (lex::Continues(line)) {
        const std::string probe = std::string(lex::WithoutContinuation(line)) + " x";
        if (syntax::MatchDeclaration(probe) || syntax::MatchBlockStart(probe) != syntax::BlockKind::None)
            return {Significance::What::Other, {}, ProcKind::Proc};
    }
    return {};
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
    std::string defaultEol = "\r\n";
    bool finalBreak = true;
    std::string vbName;
    size_t vbNameAt = std::string::npos;  // where vbName's value stands in `header`

    // Procedure index, rebuilt lazily when an edit may have changed the structure, shifted when not.
    // Shifts are kept like a gap: the body and end of procs[i] for i >= pendingFrom are short by
    // pendingDelta, so an edit only touches the procedures between the last edit and this one.
    // `start` is kept for procs[0] only; the others start after the previous procedure's end.
    mutable std::vector<ProcInfo> procs;
    mutable std::unordered_map<std::string, size_t> byName;
    mutable bool dirty = true;
    mutable size_t pendingFrom = 0;
    mutable long pendingDelta = 0;
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

    long BodyOf(size_t i) const { return procs[i].body + (i >= pendingFrom ? pendingDelta : 0); }
    long EndOf(size_t i) const { return procs[i].end + (i >= pendingFrom ? pendingDelta : 0); }
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
    const std::string& TextAt(long line) const { return lines[static_cast<size_t>(line - 1)].text; }
    bool ContinuesAt(long line) const { return line >= 1 && line <= Count() && lex::Continues(TextAt(line)); }
    // True when line `line` belongs to a statement continued over several lines that one of its lines
    // makes significant: an edit of any of its lines may change what it declares, since a declaration
    // may be split anywhere, even before its keyword (a lone ` _` line above `Sub A()`).
    bool InDeclaringStatement(long line) const {
        long first = line;
        while (ContinuesAt(first - 1)) --first;
        const long last = LogicalLast([this](long j) -> const std::string& { return TextAt(j); }, line, Count());
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
        const long last = LogicalLast([this](long j) -> const std::string& { return TextAt(j); }, line, Count());
        const auto before = [this](long j) -> std::string_view { return TextAt(j); };
        const auto after = [&](long j) -> std::string_view { return j == line ? text : std::string_view(TextAt(j)); };
        return StatementShape(JoinLogical(before, first, last)) == StatementShape(JoinLogical(after, first, last));
    }

    void CheckLine(long line, const char* what) const {
        if (line < 1 || line > Count())
            throw RuntimeError(errors::code::kInvalidProcedureCall,
                               std::string(what) + ": line " + std::to_string(line) + " is outside 1.." +
                                   std::to_string(Count()));
    }

    void Rebuild() const;
    /// The line of the file (header and hidden lines counted) that visible line `line` stands on.
    long FileLineOf(long line) const {
        auto breaks = [](std::string_view bytes) { return static_cast<long>(SplitPhysical(bytes).size()); };
        long fileLine = breaks(header) + line;
        for (long k = 1; k < line; ++k) fileLine += breaks(lines[static_cast<size_t>(k - 1)].hidden.View());
        return fileLine;
    }
    /// The index of the procedure; error 35 when there is none.
    size_t Find(std::string_view name, ProcKind kind) const;
    /// The procedure whose range holds `line` (the last that starts at or above it), or kNone.
    size_t IndexOfLine(long line) const {
        size_t lo = 0, hi = procs.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (StartOf(mid) <= line) lo = mid + 1;
            else hi = mid;
        }
        return lo == 0 ? kNone : lo - 1;
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
    auto lineAt = [this](long j) -> const std::string& { return TextAt(j); };
    syntax::EndKind awaited = syntax::EndKind::None;  // the End statement the open procedure waits for
    syntax::BlockKind block = syntax::BlockKind::None;  // a Type or Enum block at module level
    long lastDeclarationCode = 0;
    long previousEnd = 0;
    for (long i = 1; i <= n;) {
        const long last = LogicalLast(lineAt, i, n);
        const std::string joined = JoinLogical(lineAt, i, last);
        std::optional<syntax::Declaration> d;
        if (block != syntax::BlockKind::None) {
            if (syntax::MatchBlockEnd(joined, block)) block = syntax::BlockKind::None;
            if (procs.empty()) lastDeclarationCode = last;
        } else if (awaited != syntax::EndKind::None && syntax::MatchEnd(joined) != syntax::EndKind::None) {
            procs.back().end = last;
            previousEnd = last;
            awaited = syntax::EndKind::None;
        } else if ((d = syntax::MatchDeclaration(joined)) && awaited != syntax::EndKind::None &&
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
            const syntax::EndKind end = syntax::MatchEnd(joined);
            if (!stray && (end != syntax::EndKind::None || (!procs.empty() && !MayFollowAProcedure(joined))))
                stray = Stray{i, end};
            block = syntax::MatchBlockStart(joined);
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

// The header: VERSION, Object= lines, BEGIN ... END / Begin ... End blocks, module attributes. Returns
// the index of the first code line and fills `vbName` with the last VB_Name value, and `vbNameAt` with
// where it stands in the bytes the lines are views of (a rename rewrites that one).
size_t HeaderEnd(const std::vector<PhysicalLine>& physical, std::string_view bytes, std::string_view fileName,
                 std::string& vbName, size_t& vbNameAt) {
    size_t i = 0;
    BeginBlocks blocks;
    bool sawAttribute = false;
    for (; i < physical.size(); ++i) {
        const auto t = text::Trim(physical[i].text);
        const auto word = FirstWord(t);
        const bool opens = text::IEquals(word, "Begin");
        const long line = static_cast<long>(i) + 1;
        if (blocks.Open()) {
            if (opens) blocks.Begin(line, physical[i].text);
            else if (text::IEquals(t, "End")) blocks.End(physical[i].text);
            continue;
        }
        if (opens) {
            blocks.Begin(line, physical[i].text);
        } else if (text::IStartsWith(t, "Attribute ")) {
            sawAttribute = true;
            auto rest = t.substr(10);
            if (text::IStartsWith(text::LTrim(rest), "VB_Name")) {
                const auto q1 = rest.find('"');
                const auto q2 = q1 == std::string_view::npos ? q1 : rest.find('"', q1 + 1);
                if (q2 != std::string_view::npos) {
                    vbName = std::string(rest.substr(q1 + 1, q2 - q1 - 1));
                    vbNameAt = static_cast<size_t>(rest.data() + q1 + 1 - bytes.data());
                }
            }
        } else if (!sawAttribute && (text::IEquals(word, "VERSION") || text::IStartsWith(t, "Object=") ||
                                     text::IEquals(word, "Object"))) {
            // part of the header
        } else {
            break;
        }
    }
    if (blocks.Open())
        throw RuntimeError(errors::code::kBadFileMode, Where(fileName) + ":" + std::to_string(blocks.Unclosed()) +
                                                           ": Begin block is never closed by End");
    return i;
}

// The code from physical line `from` on: member attributes (not inside a continued statement) hide
// behind the line before them. Calls visible(line) or hidden(line) for each line, in order.
template <class Visible, class Hidden>
void WalkCode(const std::vector<PhysicalLine>& physical, size_t from, Visible visible, Hidden hidden) {
    bool previousContinues = false;
    bool anyVisible = false;
    for (size_t i = from; i < physical.size(); ++i) {
        const auto& p = physical[i];
        if (!previousContinues && anyVisible && syntax::IsAttributeLine(p.text)) {
            hidden(p);
            continue;
        }
        visible(p);
        anyVisible = true;
        previousContinues = lex::Continues(p.text);
    }
}

}  // namespace

std::unique_ptr<SourceModule> SourceModule::Parse(std::string bytes, std::string_view fileName) {
    RefuseBinary(bytes, fileName);
    std::unique_ptr<SourceModule> m(new SourceModule());
    Impl& d = *m->impl_;
    d.original = std::move(bytes);
    // A byte order mark stays at the very start of the header, out of the way of the header's words.
    const size_t mark = std::string_view(d.original).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    d.header.assign(d.original, 0, mark);
    const auto physical = SplitPhysical(std::string_view(d.original).substr(mark));
    if (!physical.empty()) {
        d.finalBreak = !physical.back().eol.empty();
        if (!physical.front().eol.empty()) d.defaultEol = std::string(physical.front().eol);
    }
    const size_t first = HeaderEnd(physical, d.original, fileName, d.vbName, d.vbNameAt);
    for (size_t h = 0; h < first; ++h) {
        d.header += physical[h].text;
        d.header += physical[h].eol.empty() ? std::string_view(d.defaultEol) : physical[h].eol;
    }
    auto eolOf = [&](const PhysicalLine& p) { return p.eol.empty() ? std::string_view(d.defaultEol) : p.eol; };
    d.lines.reserve(physical.size() - first);
    WalkCode(
        physical, first, [&](const PhysicalLine& p) { d.lines.push_back(Line{std::string(p.text), LineBreak(eolOf(p)), {}}); },
        [&](const PhysicalLine& p) { d.lines.back().hidden.Text().append(p.text).append(eolOf(p)); });
    return m;
}

SourceModule::Shape SourceModule::ShapeOf(std::string_view bytes, std::string_view fileName) {
    RefuseBinary(bytes, fileName);
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    const auto physical = SplitPhysical(bytes);
    Shape shape;
    size_t vbNameAt = std::string::npos;
    const size_t first = HeaderEnd(physical, bytes, fileName, shape.vbName, vbNameAt);
    WalkCode(
        physical, first,
        [&](const PhysicalLine& p) {
            ++shape.lines;
            shape.longestLine = std::max(shape.longestLine, p.text.size());
        },
        [](const PhysicalLine&) {});
    return shape;
}

long SourceModule::FileLine(long line) const { return impl_->FileLineOf(line); }

std::string SourceModule::StructureFault(std::string_view fileName) const {
    const Impl& d = *impl_;
    // A fresh read, since an edit the index can follow may still make or mend a fault. At load, when
    // this is asked, the index is still to be built, so the read costs nothing more.
    d.dirty = true;
    d.Settle();
    const std::string where = std::string(fileName.empty() ? "module" : fileName) + ":";
    if (!d.unclosed) {
        if (!d.stray) return {};
        const std::string line = std::to_string(d.FileLineOf(d.stray->line));
        if (d.stray->end != syntax::EndKind::None)
            return where + line + ": End " + std::string(syntax::EndWord(d.stray->end)) +
                   " stands outside every procedure";
        return where + line + ": only comments may appear after End Sub, End Function or End Property";
    }
    const ProcInfo& p = *d.unclosed;
    const auto lineAt = [&](long j) -> const std::string& { return d.TextAt(j); };
    const auto declared = syntax::MatchDeclaration(JoinLogical(lineAt, p.body, LogicalLast(lineAt, p.body, d.Count())));
    const std::string keyword = declared ? declared->keyword : "Sub";
    return where + std::to_string(d.FileLineOf(p.body)) + ": " +
           keyword + " " + p.name + " is never closed by End " + std::string(syntax::EndWord(syntax::EndFor(keyword)));
}

long SourceModule::CountOfLines() const { return impl_->Count(); }

std::string SourceModule::Lines(long line, long count) const {
    if (count <= 0) return {};
    impl_->CheckLine(line, "Lines");
    impl_->CheckLine(line + count - 1, "Lines");
    std::string out = impl_->TextAt(line);
    for (long k = 1; k < count; ++k) out += "\r\n" + impl_->TextAt(line + k);
    return out;
}

void SourceModule::ReplaceLine(long line, std::string_view text) {
    Impl& d = *impl_;
    d.CheckLine(line, "ReplaceLine");
    const auto parts = SplitText(text);
    auto& lines = d.lines;
    const size_t at = static_cast<size_t>(line - 1);
    Line& old = lines[at];
    const long added = static_cast<long>(parts.size()) - 1;
    const bool oldContinues = lex::Continues(old.text);
    const bool declaring = d.InDeclaringStatement(line);

    auto noneSignificant = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k)
            if (Classify(parts[k]).what != Significance::What::None) return false;
        return true;
    };
    auto makeLines = [&](size_t from, size_t to) {
        std::vector<Line> made;
        for (size_t k = from; k < to; ++k) made.push_back(Line{std::string(parts[k]), LineBreak(d.defaultEol), {}});
        return made;
    };

    if (added > 0 && parts.back() == old.text && parts.front() != old.text) {
        // Lines inserted before the old one, which keeps its break and its hidden lines.
        const bool context = d.ContinuesAt(line - 1);
        const bool neutral = noneSignificant(0, parts.size() - 1) &&
                             lex::Continues(parts[parts.size() - 2]) == context && !d.TouchesDeclarations(line) &&
                             !(context && d.InDeclaringStatement(line));
        lines.insert(at, makeLines(0, parts.size() - 1));
        if (!neutral) d.dirty = true;
        d.Shift(line - 1, added);
        return;
    }

    // The old line becomes the first part (keeping its hidden lines); the rest goes after it, and the old
    // line break moves to the last part so that a line without a final break stays last.
    const bool sameFirst = parts.front() == old.text;
    const bool neutral = (sameFirst || Classify(old.text) == Classify(parts.front())) &&
                         noneSignificant(1, parts.size()) && lex::Continues(parts.back()) == oldContinues &&
                         !d.TouchesDeclarations(sameFirst ? line + 1 : line) &&
                         (sameFirst || !declaring || (added == 0 && d.SameStatementWith(line, parts.front())));
    old.text = std::string(parts.front());
    if (added > 0) {
        auto made = makeLines(1, parts.size());
        std::swap(made.back().eol, old.eol);
        lines.insert(at + 1, std::move(made));
    }
    if (!neutral) d.dirty = true;
    d.Shift(line, added);
}

void SourceModule::DeleteLines(long line, long count) {
    Impl& d = *impl_;
    if (count <= 0) return;
    d.CheckLine(line, "DeleteLines");
    d.CheckLine(line + count - 1, "DeleteLines");
    const long last = line + count - 1;
    bool neutral = !d.TouchesDeclarations(line) && d.ContinuesAt(last) == d.ContinuesAt(line - 1) &&
                   !d.InDeclaringStatement(line);
    std::string orphans;
    for (long k = line; k <= last; ++k) {
        const Line& l = d.lines[static_cast<size_t>(k - 1)];
        if (Classify(l.text).what != Significance::What::None) neutral = false;
        orphans += l.hidden.View();
    }
    // The final line break belongs to the file, not to the line: keep it with the new last line.
    if (last == d.Count() && line > 1) d.lines[static_cast<size_t>(line - 2)].eol = d.lines.back().eol;
    // Hidden lines of deleted lines stay with the line before them (or go to the header).
    if (!orphans.empty()) {
        if (line > 1) d.lines[static_cast<size_t>(line - 2)].hidden.Text() += orphans;
        else d.header += orphans;
    }
    d.lines.erase(static_cast<size_t>(line - 1), static_cast<size_t>(count));
    if (!neutral) d.dirty = true;
    d.Shift(last, -count);
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

ProcAtLine SourceModule::ProcAt(long line) const {
    const Impl& d = *impl_;
    d.CheckLine(line, "ProcAt");
    if (d.dirty) d.Rebuild();
    const size_t i = d.IndexOfLine(line);
    if (i == kNone) return {};
    const ProcInfo& p = d.procs[i];
    return {p.name, p.kind, p.copy, d.StartOf(i), d.BodyOf(i), d.EndOf(i)};
}

const std::vector<ProcInfo>& SourceModule::Procedures() const {
    impl_->Settle();
    return impl_->procs;
}

const std::string& SourceModule::VBName() const { return impl_->vbName; }

void SourceModule::SetVBName(std::string_view name) {
    Impl& d = *impl_;
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
    const Impl& d = *impl_;
    std::string out = d.header;
    out.reserve(d.original.size() + 1024);
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const Line& l = d.lines[i];
        out += l.text;
        out += std::string_view(l.eol);
        out += l.hidden.View();
    }
    if (!d.finalBreak && !out.empty()) {
        if (out.ends_with("\r\n")) out.resize(out.size() - 2);
        else if (out.back() == '\n' || out.back() == '\r') out.pop_back();
    }
    return out;
}

const std::string& SourceModule::Original() const { return impl_->original; }

bool SourceModule::Changed() const { return Serialize() != impl_->original; }

void SourceModule::MarkSaved() { impl_->original = Serialize(); }

void SourceModule::MarkSaved(std::string saved) { impl_->original = std::move(saved); }

size_t SourceModule::LongestLine() const {
    size_t longest = 0;
    for (size_t i = 0; i < impl_->lines.size(); ++i) longest = std::max(longest, impl_->lines[i].text.size());
    return longest;
}

}  // namespace vex::ide
