#pragma once
// frmResult ("Résultat"): the result log in txtResult, "&Save results" and "&Close". One window for the
// whole add-in, created hidden; closing it drops the log, so the next action starts a fresh one.

#include <QDialog>
#include <functional>
#include <string>

#include "addin/views.h"

class QPlainTextEdit;
class QPushButton;

namespace vex::host {
class Screen;
}

namespace vex::app {

/// The common file dialog's save form over QFileDialog.
class QtSaveFileDialog : public addin::SaveFileDialog {
public:
    explicit QtSaveFileDialog(QWidget* parent) : parent_(parent) {}
    std::optional<std::filesystem::path> ShowSave(const addin::SaveDialogSettings& settings) override;

private:
    QWidget* parent_;
};

class FormResult : public QDialog, public addin::ResultView {
    Q_OBJECT
public:
    FormResult(host::Screen& screen, QWidget* parent = nullptr);
    ~FormResult() override;

    void Append(std::string_view piece) override;
    std::string Text() const override;
    void ShowModal() override;

    QPlainTextEdit* txtResult() const { return txtResult_; }
    QPushButton* cmdSave() const { return cmdSave_; }
    QPushButton* cmdClose() const { return cmdClose_; }
    /// The save dialog "&Save results" opens (tests put their own).
    void SetSaveDialog(addin::SaveFileDialog* dialog) { saveDialog_ = dialog; }

    void done(int result) override;

private:
    /// Moves the text appended since the box was last drawn into it.
    void ShowPending();

    host::Screen& screen_;
    std::string pending_;  ///< appended, not yet in the box (CR LF line ends, as appended)
    QPlainTextEdit* txtResult_;
    QPushButton* cmdSave_;
    QPushButton* cmdClose_;
    QtSaveFileDialog qtDialog_;
    addin::SaveFileDialog* saveDialog_;
};

}  // namespace vex::app
