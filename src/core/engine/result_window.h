#pragma once
// frmResult as the engine sees it: the window that shows the result log at the end of an error-handler run.

namespace vex::engine {

class ResultWindow {
public:
    virtual ~ResultWindow() = default;
    /// Shows the result log to the user and returns when the user is done with it (modal).
    /// May throw errors::RuntimeError.
    virtual void ShowModal() = 0;
};

/// A window that shows nothing.
class NullResultWindow : public ResultWindow {
public:
    void ShowModal() override {}
};

}  // namespace vex::engine
