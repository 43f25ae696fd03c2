#pragma once
// The host services of the engine and of the add-in over Qt: message boxes, the pointer and the yield to
// the event loop, input boxes.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "backup/backup_dir_model.h"
#include "host/prompter.h"
#include "host/screen.h"

namespace vex::app {

/// Message boxes with QMessageBox; the buttons and the icon come from the VB style.
class QtPrompter : public host::Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    host::Answer MsgBox(const host::Message& message) override;

private:
    QPointer<QWidget> parent_;
};

/// The hourglass as Qt's override cursor; DoEvents processes pending events at most once a frame, so
/// an engine that yields once per line stays fast while the window keeps repainting.
class QtScreen : public host::Screen {
public:
    QtScreen();
    ~QtScreen() override;
    void SetPointer(host::Pointer pointer) override;
    void DoEvents() override;
    /// Runs after each processing of events (the host refreshes the code windows there).
    std::function<void()> onYield;

private:
    QElapsedTimer sinceYield_;
    bool hourglass_ = false;
};

/// VB's InputBox over QInputDialog.
class QtInputBox : public backup::InputBox {
public:
    explicit QtInputBox(QWidget* parent = nullptr) : parent_(parent) {}
    std::string Ask(std::string_view prompt, std::string_view title) override { return Ask(prompt, title, {}); }
    /// The text as typed, or the empty text when cancelled.
    std::string Ask(std::string_view prompt, std::string_view title, std::string_view defaultText);

private:
    QPointer<QWidget> parent_;
};

}  // namespace vex::app
