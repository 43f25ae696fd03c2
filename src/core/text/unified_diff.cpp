#include "text/unified_diff.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vex::text {

namespace {

constexpr size_t kContext = 3;

/// Lines with their line end ('\n' included, so CR LF and a missing last break compare as bytes), into
/// `lines` (cleared first).
void SplitLines(std::string_view s, std::vector<std::string_view>& lines) {
    lines.clear();
    size_t start = 0;
    while (start < s.size()) {
        const void* lf = std::memchr(s.data() + start, '\n', s.size() - start);
        const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - s.data()) + 1 : s.size();
        lines.push_back(s.substr(start, end - start));
        start = end;
    }
}

struct Op {
    char kind;  ///< ' ' kept, '-' removed, '+' added
    size_t a;   ///< index into the old lines (for '+': how many old lines precede)
    size_t b;   ///< index into the new lines (for '-': how many new lines precede)
};

// One distinct line of a range, in an open-addressing table reused by every level: a slot belongs to
// the current lookup when its stamp is the current one, so no level clears the table. `ia` and `ib` are
// where the line was last met on each side (kNone: not met), with kTwice set once it was met twice;
// only "once on each side" matters. The line itself is found through whichever side met it.
struct Seen {
    uint32_t stamp = 0;
    uint32_t hash = 0;
    uint32_t ia = 0, ib = 0;
};
static_assert(sizeof(Seen) == 16, "a slot of the table costs 16 bytes");
constexpr uint32_t kNone = UINT32_MAX;
constexpr uint32_t kTwice = 0x80000000u;
constexpr uint32_t kWhere = kTwice - 1;

// A line's hash for the table: 8 bytes at a time, mixed as splitmix64 mixes. Only speed depends on its
// quality; lines are compared whole wherever hashes agree.
uint32_t HashLine(std::string_view s) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    const char* p = s.data();
    size_t n = s.size();
    auto mix = [&](uint64_t w) {
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    };
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        mix(w);
    }
    uint64_t w = 0;
    if (n) std::memcpy(&w, p, n);
    mix(w);
    h *= 0x94D049BB133111EBull;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// What one comparison needs besides its texts. Each thread keeps one, so that a run comparing many
// modules touches the same memory each time instead of fresh memory per module.
struct Scratch {
    std::vector<std::string_view> a, b;
    std::vector<uint32_t> ha, hb;
    std::vector<Seen> table;
    std::vector<uint32_t> slotOfA;
    std::vector<Op> ops;
    uint32_t stamp = 0;
};

Scratch& ThreadScratch() {
    thread_local Scratch scratch;
    return scratch;
}

// Patience-style diff: common ends trimmed, then lines unique on both sides anchor the rest (their
// longest increasing run), and the gaps between anchors are diffed the same way. A gap without anchors
// is a replacement. Each level costs about its size, so machine edits (which change lines in place or
// add them) diff in near-linear time; the result is a valid, if not always minimal, edit script.
// Splits the texts into the scratch's lines (a_ and b_ name them), counts the changed lines as it goes
// (Counted) and, unless `countOnly`, writes the script to the scratch's ops.
class Differ {
public:
    Differ(Scratch& s, std::string_view before, std::string_view after, bool countOnly = false)
        : s_(s), a_(s.a), b_(s.b), countOnly_(countOnly) {
        SplitLines(before, s_.a);
        SplitLines(after, s_.b);
        // Each line is hashed once; every level of the recursion looks lines up by these.
        s_.ha.resize(a_.size());
        s_.hb.resize(b_.size());
        for (size_t i = 0; i < a_.size(); ++i) s_.ha[i] = HashLine(a_[i]);
        for (size_t j = 0; j < b_.size(); ++j) s_.hb[j] = HashLine(b_[j]);
    }

    const std::vector<Op>& Run() {
        s_.ops.clear();
        if (!countOnly_) s_.ops.reserve(std::max(a_.size(), b_.size()) + 16);
        Range(0, a_.size(), 0, b_.size());
        return s_.ops;
    }

    /// Per run of changes the larger of lines removed and lines added, summed (after Run).
    long Counted() const { return count_ + std::max(removed_, added_); }

private:
    // `n` lines kept in a row from a[i], b[j]: the run of changes before them ends.
    void Keep(size_t i, size_t j, size_t n = 1) {
        if (n == 0) return;
        count_ += std::max(removed_, added_);
        removed_ = added_ = 0;
        if (!countOnly_)
            for (size_t k = 0; k < n; ++k) s_.ops.push_back({' ', i + k, j + k});
    }

    void Range(size_t a0, size_t a1, size_t b0, size_t b1) {
        size_t head = 0;
        while (a0 + head < a1 && b0 + head < b1 && a_[a0 + head] == b_[b0 + head]) ++head;
        Keep(a0, b0, head);
        a0 += head;
        b0 += head;
        size_t tail = 0;
        while (a1 - tail > a0 && b1 - tail > b0 && a_[a1 - tail - 1] == b_[b1 - tail - 1]) ++tail;
        a1 -= tail;
        b1 -= tail;
        Middle(a0, a1, b0, b1);
        Keep(a1, b1, tail);
    }

    void Replace(size_t a0, size_t a1, size_t b0, size_t b1) {
        removed_ += static_cast<long>(a1 - a0);
        added_ += static_cast<long>(b1 - b0);
        if (countOnly_) return;
        for (size_t i = a0; i < a1; ++i) s_.ops.push_back({'-', i, b0});
        for (size_t j = b0; j < b1; ++j) s_.ops.push_back({'+', a1, j});
    }

    std::string_view LineOf(const Seen& seen) const {
        return seen.ia != kNone ? a_[seen.ia & kWhere] : b_[seen.ib & kWhere];
    }

    // Where a line was met, `at` now: once, or kTwice.
    static uint32_t Met(uint32_t where, size_t at) {
        return where == kNone ? static_cast<uint32_t>(at) : (static_cast<uint32_t>(at) | kTwice);
    }

    // The slot of `line` (hash `h`) in the first `mask + 1` slots, claimed for it when new (the caller
    // then fills in where it stands).
    Seen& Slot(std::string_view line, uint32_t h, size_t mask) {
        for (size_t k = h & mask;; k = (k + 1) & mask) {
            Seen& seen = s_.table[k];
            if (seen.stamp != s_.stamp) {
                seen = Seen{s_.stamp, h, kNone, kNone};
                return seen;
            }
            if (seen.hash == h && LineOf(seen) == line) return seen;
        }
    }

    void Middle(size_t a0, size_t a1, size_t b0, size_t b1) {
        if (a0 == a1 || b0 == b1) return Replace(a0, a1, b0, b1);
        size_t slots = 16;
        while (slots < 2 * ((a1 - a0) + (b1 - b0))) slots *= 2;
        if (s_.table.size() < slots) s_.table.resize(slots);  // stamp 0: never current
        if (++s_.stamp == 0) {                                // the stamps went round: no slot may look current
            for (Seen& seen : s_.table) seen.stamp = 0;
            s_.stamp = 1;
        }
        const size_t mask = slots - 1;
        s_.slotOfA.resize(a1 - a0);
        for (size_t i = a0; i < a1; ++i) {
            Seen& seen = Slot(a_[i], s_.ha[i], mask);
            seen.ia = Met(seen.ia, i);
            s_.slotOfA[i - a0] = static_cast<uint32_t>(&seen - s_.table.data());
        }
        for (size_t j = b0; j < b1; ++j) {
            Seen& seen = Slot(b_[j], s_.hb[j], mask);
            seen.ib = Met(seen.ib, j);
        }
        std::vector<std::pair<size_t, size_t>> pairs;  // (a, b) of lines unique on both sides, by a
        for (size_t i = a0; i < a1; ++i) {
            const Seen& seen = s_.table[s_.slotOfA[i - a0]];
            if (!(seen.ia & kTwice) && seen.ib != kNone && !(seen.ib & kTwice)) pairs.emplace_back(i, seen.ib);
        }
        if (pairs.empty()) return Replace(a0, a1, b0, b1);

        // Longest run of pairs increasing in b (patience sorting).
        std::vector<size_t> tops, back(pairs.size());
        for (size_t k = 0; k < pairs.size(); ++k) {
            auto it = std::lower_bound(tops.begin(), tops.end(), pairs[k].second,
                                       [&](size_t t, size_t b) { return pairs[t].second < b; });
            back[k] = it == tops.begin() ? SIZE_MAX : *(it - 1);
            if (it == tops.end())
                tops.push_back(k);
            else
                *it = k;
        }
        std::vector<size_t> chain;
        for (size_t k = tops.back(); k != SIZE_MAX; k = back[k]) chain.push_back(k);
        std::reverse(chain.begin(), chain.end());

        // The table is done with before the gaps reuse it.
        size_t i = a0, j = b0;
        for (size_t k : chain) {
            Range(i, pairs[k].first, j, pairs[k].second);
            Keep(pairs[k].first, pairs[k].second);
            i = pairs[k].first + 1;
            j = pairs[k].second + 1;
        }
        Range(i, a1, j, b1);
    }

    Scratch& s_;
    const std::vector<std::string_view>& a_;
    const std::vector<std::string_view>& b_;
    const bool countOnly_;
    long count_ = 0, removed_ = 0, added_ = 0;
};

void AppendLine(std::string& out, char kind, std::string_view line) {
    out += kind;
    out += line;
    if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

std::string RangeText(size_t before, size_t count) {
    std::string s = std::to_string(count == 0 ? before : before + 1);
    if (count != 1) s += "," + std::to_string(count);
    return s;
}

}  // namespace

long ChangedLineCount(std::string_view before, std::string_view after) {
    if (before == after) return 0;
    Differ differ(ThreadScratch(), before, after, true);
    differ.Run();
    return differ.Counted();
}

TextDiff DiffTexts(std::string_view before, std::string_view after, std::string_view label) {
    TextDiff result;
    if (before == after) return result;
    Scratch& scratch = ThreadScratch();
    Differ differ(scratch, before, after);
    const std::vector<Op>& ops = differ.Run();
    const auto& a = scratch.a;
    const auto& b = scratch.b;
    result.linesChanged = differ.Counted();
    std::vector<size_t> changes;  // the indices of the ops that are changes
    for (size_t k = 0; k < ops.size(); ++k)
        if (ops[k].kind != ' ') changes.push_back(k);

    std::string& out = result.unified;
    // Relative names get git's a/ and b/ prefixes, so the diff applies with `patch -p1` or `git apply`;
    // a name with a blank ends with a tab so that both read it whole.
    const bool relative = !label.empty() && label.front() != '/';
    const char* end = label.find_first_of(" \t") != std::string_view::npos ? "\t\n" : "\n";
    out.append("--- ").append(relative ? "a/" : "").append(label).append(end);
    out.append("+++ ").append(relative ? "b/" : "").append(label).append(end);

    for (size_t c = 0; c < changes.size();) {
        size_t last = c;
        while (last + 1 < changes.size() && changes[last + 1] - changes[last] - 1 <= 2 * kContext) ++last;
        const size_t from = changes[c] >= kContext ? changes[c] - kContext : 0;
        const size_t to = std::min(ops.size(), changes[last] + 1 + kContext);
        size_t countA = 0, countB = 0;
        for (size_t k = from; k < to; ++k) {
            countA += ops[k].kind != '+';
            countB += ops[k].kind != '-';
        }
        out.append("@@ -").append(RangeText(ops[from].a, countA));
        out.append(" +").append(RangeText(ops[from].b, countB)).append(" @@\n");
        for (size_t k = from; k < to; ++k) AppendLine(out, ops[k].kind, ops[k].kind == '+' ? b[ops[k].b] : a[ops[k].a]);
        c = last + 1;
    }
    return result;
}

}  // namespace vex::text
