#pragma once
// What the engine reaches outside itself: the active project, the progress bars, the screen, the result
// log, the settings, the error report and the clock. The CLI, the desktop host and the tests each supply
// their own implementations.

#include <chrono>
#include <string>
#include <string_view>

namespace vex::ide {
class Project;
}
namespace vex::settings {
class SettingsStore;
}
namespace vex::errors {
class ErrorReport;
class Prompter;
}  // namespace vex::errors

namespace vex::engine {

/// objPercentProject / objPercentFile.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void SetMax(long max) = 0;
    virtual void SetValue(long value) = 0;
    virtual long Max() const = 0;
    virtual long Value() const = 0;
};

/// A progress bar that only remembers its state.
class PlainProgressBar : public ProgressBar {
public:
    void SetMax(long max) override { max_ = max; }
    void SetValue(long value) override { value_ = value; }
    long Max() const override { return max_; }
    long Value() const override { return value_; }

private:
    long max_ = 0;
    long value_ = 0;
};

enum class Pointer { Default, Hourglass };

/// The mouse pointer and the yield to the message loop.
class Screen {
public:
    virtual ~Screen() = default;
    virtual void SetPointer(Pointer pointer) = 0;
    /// Lets the host process pending events (VB's DoEvents). Called once per list row and per code line.
    virtual void DoEvents() = 0;
};

class NullScreen : public Screen {
public:
    void SetPointer(Pointer) override {}
    void DoEvents() override {}
};

/// objTxtResult: the result log text that actions append to (UTF-8).
class ResultLog {
public:
    virtual ~ResultLog() = default;
    virtual void Append(std::string_view piece) = 0;
    virtual std::string Text() const = 0;
};

class StringResultLog : public ResultLog {
public:
    void Append(std::string_view piece) override { text_ += piece; }
    std::string Text() const override { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

/// Things a run wants the user to know that are not errors (kept jump targets, lossy code-page
/// conversions, renamed backup copies). The CLI prints them on stderr.
class Notices {
public:
    virtual ~Notices() = default;
    virtual void Notice(std::string_view text) = 0;
};

class NullNotices : public Notices {
public:
    void Notice(std::string_view) override {}
};

/// The clock, so that dates in logs can be fixed in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point Now() const = 0;
};

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
};

/// Everything an engine procedure may reach. References stay valid for the whole call.
struct Host {
    ide::Project* activeProject = nullptr;  ///< VBInst.ActiveVBProject; null when no project is open
    ProgressBar& percentProject;
    ProgressBar& percentFile;
    Screen& screen;
    ResultLog& result;
    settings::SettingsStore& store;
    errors::ErrorReport& report;
    errors::Prompter& prompter;
    Notices& notices;
    const Clock& clock;
};

}  // namespace vex::engine
