#pragma once
// objPercentProject / objPercentFile: a bar with a maximum and a value.

namespace vex::host {

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

}  // namespace vex::host
