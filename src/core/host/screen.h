#pragma once
// The mouse pointer and the yield to the message loop.

namespace vex::host {

enum class Pointer { Default, Hourglass };

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

}  // namespace vex::host
