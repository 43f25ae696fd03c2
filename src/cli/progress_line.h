#pragma once
// The command line's progress display: one line on stderr, redrawn in place, saying what the run is doing
// (loading a project, working through its components, computing the diff, saving) with the component and
// line progress of the engine. Drawn only on a terminal and only once the run has lasted half a second,
// so quick runs and redirected output show nothing.
//
// A thread of its own draws the line, so that a long step without progress calls (loading a large
// project) shows too, and the engine's progress calls cost only a store. While the line is shown, text
// written to the stream by anyone first erases it, so messages never mix with it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/host.h"

namespace vex::cli {

class ProgressLine {
public:
    /// Draws on `err` when `enabled` (the caller checks that stderr is a terminal and the run is not
    /// --quiet), once `quietStart` has passed since construction, at most once per `redrawEvery`.
    /// When enabled, `err` and `out` (when given: stdout on the same terminal) write through the line
    /// until it is destroyed.
    ProgressLine(std::ostream& err, bool enabled, std::ostream* out = nullptr,
                 std::chrono::milliseconds quietStart = std::chrono::milliseconds(500),
                 std::chrono::milliseconds redrawEvery = std::chrono::milliseconds(100));
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    host::ProgressBar& Project() { return project_; }
    host::ProgressBar& File() { return file_; }

    /// What the run does now, e.g. "[2/5] Sample.vbp: loading"; shown before the bars, which it clears.
    void Stage(std::string text);

    /// Erases the line for good: the run has ended.
    void Finish();

    /// While one is alive the line is not drawn: a question is being asked on the terminal, and the
    /// answer typed ends its line.
    class Hold {
    public:
        explicit Hold(ProgressLine& line);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ProgressLine& line_;
    };

private:
    class Bar : public host::ProgressBar {
    public:
        void SetMax(long max) override { max_.store(max, std::memory_order_relaxed); }
        void SetValue(long value) override { value_.store(value, std::memory_order_relaxed); }
        long Max() const override { return max_.load(std::memory_order_relaxed); }
        long Value() const override { return value_.load(std::memory_order_relaxed); }

    private:
        std::atomic<long> max_{0}, value_{0};
    };
    class Passage;  // the stream buffer that erases the line before other text

    void Loop();
    std::string TextLocked() const;
    void EraseLocked();

    std::ostream& err_;
    std::ostream* out_;
    std::streambuf* original_ = nullptr;  ///< err_'s own buffer, where the line is drawn
    std::unique_ptr<Passage> errPassage_, outPassage_;
    std::chrono::milliseconds quietStart_, redrawEvery_;
    Bar project_, file_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::string stage_;
    bool drawn_ = false;
    bool atLineStart_ = true;
    bool finished_ = false;
    int holds_ = 0;
    std::thread drawer_;
};

}  // namespace vex::cli
