#include "cli/progress_line.h"

#include <unistd.h>

#include <ostream>
#include <string>

namespace vex::cli {

namespace {
// Redraws are spaced so that drawing never slows a run down.
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

std::string Percent(long value, long max) {
    if (max <= 0) return "  -";
    long p = value <= 0 ? 0 : value >= max ? 100 : value * 100 / max;
    std::string s = std::to_string(p);
    return std::string(3 - s.size(), ' ') + s + "%";
}
}  // namespace

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

ProgressLine::ProgressLine(std::ostream& err, bool enabled, std::chrono::milliseconds quietStart)
    : err_(err), enabled_(enabled), quietStart_(quietStart), start_(std::chrono::steady_clock::now()),
      lastDraw_(start_ - kRedrawEvery) {}

ProgressLine::~ProgressLine() { Finish(); }

void ProgressLine::Bar::SetMax(long max) {
    max_ = max;
    owner_.Changed();
}

void ProgressLine::Bar::SetValue(long value) {
    value_ = value;
    owner_.Changed();
}

void ProgressLine::Changed() {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < quietStart_ || now - lastDraw_ < kRedrawEvery) return;
    lastDraw_ = now;
    err_ << "\r\x1b[2Kcomponent " << project_.Value() << "/" << project_.Max() << "  lines "
         << Percent(file_.Value(), file_.Max()) << std::flush;
    drawn_ = true;
}

void ProgressLine::Finish() {
    if (drawn_) err_ << "\r\x1b[2K" << std::flush;
    drawn_ = false;
}

}  // namespace vex::cli
