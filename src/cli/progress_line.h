#pragma once
// The command line's progress display: one line on stderr, redrawn in place, showing the component and
// line progress of a run. Drawn only on a terminal and only once a run has lasted a moment, so quick
// runs and redirected output show nothing.

#include <chrono>
#include <iosfwd>

#include "engine/host.h"

namespace vex::cli {

class ProgressLine {
public:
    /// Draws on `err` when `enabled` (the caller checks that stderr is a terminal), once `quietStart`
    /// has passed since construction.
    ProgressLine(std::ostream& err, bool enabled,
                 std::chrono::milliseconds quietStart = std::chrono::milliseconds(500));
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    host::ProgressBar& Project() { return project_; }
    host::ProgressBar& File() { return file_; }

    /// Erases the line when one was drawn.
    void Finish();

private:
    class Bar : public host::ProgressBar {
    public:
        explicit Bar(ProgressLine& owner) : owner_(owner) {}
        void SetMax(long max) override;
        void SetValue(long value) override;
        long Max() const override { return max_; }
        long Value() const override { return value_; }

    private:
        ProgressLine& owner_;
        long max_ = 0;
        long value_ = 0;
    };

    void Changed();

    std::ostream& err_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::milliseconds quietStart_;
    std::chrono::steady_clock::time_point start_, lastDraw_;
    Bar project_{*this}, file_{*this};
};

/// True when the process's stderr is a terminal.
bool StderrIsTerminal();

}  // namespace vex::cli
