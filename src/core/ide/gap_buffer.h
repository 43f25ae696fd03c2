#pragma once
// A sequence with a movable gap: inserting or erasing at the gap costs only the elements inserted or
// erased, and moving the gap costs the distance it moves. The engine edits a module while walking it
// from top to bottom, so its edits land near each other and the whole walk stays linear.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace vex::ide {

template <class T>
class GapBuffer {
public:
    size_t size() const { return items_.size() - GapSize(); }
    bool empty() const { return size() == 0; }

    T& operator[](size_t i) { return items_[Physical(i)]; }
    const T& operator[](size_t i) const { return items_[Physical(i)]; }
    T& back() { return (*this)[size() - 1]; }

    void push_back(T value) { insert(size(), std::move(value)); }

    /// Makes room for `n` elements in all, so that filling the buffer up to them moves nothing.
    void reserve(size_t n) {
        if (n > size()) Grow(n - size() > GapSize() ? n - size() - GapSize() : 0, true);
    }

    /// Inserts `value` before position `pos` (pos == size() appends).
    void insert(size_t pos, T value) {
        MoveGap(pos);
        if (GapSize() == 0) Grow(1);
        items_[gapStart_++] = std::move(value);
    }

    /// Inserts the elements of `values` before position `pos`, in order.
    void insert(size_t pos, std::vector<T>&& values) {
        MoveGap(pos);
        if (GapSize() < values.size()) Grow(values.size());
        for (auto& v : values) items_[gapStart_++] = std::move(v);
    }

    /// Removes `count` elements from position `pos`.
    void erase(size_t pos, size_t count) {
        MoveGap(pos);
        for (size_t k = 0; k < count; ++k) items_[gapEnd_ + k] = T();
        gapEnd_ += count;
    }

private:
    size_t GapSize() const { return gapEnd_ - gapStart_; }
    size_t Physical(size_t i) const { return i < gapStart_ ? i : i + GapSize(); }

    void MoveGap(size_t pos) {
        if (GapSize() == 0) {  // nothing to move, and moving an element onto itself may empty it
            gapStart_ = gapEnd_ = pos;
            return;
        }
        while (gapStart_ > pos) items_[--gapEnd_] = std::move(items_[--gapStart_]);
        while (gapStart_ < pos) items_[gapStart_++] = std::move(items_[gapEnd_++]);
    }

    // Makes room for at least `needed` more elements, keeping the gap where it is. The new storage is
    // allocated at its exact size (a vector's own growth would double it), by a quarter more than now:
    // still linear over any run of inserts, without doubling the memory of a large module.
    void Grow(size_t needed, bool exact = false) {
        if (needed == 0) return;
        const size_t extra = exact ? needed : std::max(needed, items_.size() / 4 + 16);
        std::vector<T> bigger;
        bigger.reserve(items_.size() + extra);
        for (size_t k = 0; k < gapStart_; ++k) bigger.push_back(std::move(items_[k]));
        bigger.resize(gapStart_ + GapSize() + extra);
        for (size_t k = gapEnd_; k < items_.size(); ++k) bigger.push_back(std::move(items_[k]));
        gapEnd_ += extra;
        items_ = std::move(bigger);
    }
    std::vector<T> items_;
    size_t gapStart_ = 0;
    size_t gapEnd_ = 0;
};

}  // namespace vex::ide
