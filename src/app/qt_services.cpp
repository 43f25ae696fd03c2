#include "app/qt_services.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "app/qt_text.h"
#include "errorlog/gest_erreur.h"

namespace vex::app {

namespace {

// About one frame at 60 Hz: often enough to repaint, rare enough to cost nothing per line.
constexpr qint64 kYieldIntervalMs = 16;

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

ButtonSet ButtonsOf(int style) {
    using B = QMessageBox;
    const bool second = (style & host::style::kDefaultButton2) != 0;
    switch (host::style::Buttons(style)) {
        case host::style::kOkCancel: return {B::Ok | B::Cancel, second ? B::Cancel : B::Ok};
        case host::style::kAbortRetryIgnore: return {B::Abort | B::Retry | B::Ignore, second ? B::Retry : B::Abort};
        case host::style::kYesNoCancel: return {B::Yes | B::No | B::Cancel, second ? B::No : B::Yes};
        case host::style::kYesNo: return {B::Yes | B::No, second ? B::No : B::Yes};
        case host::style::kRetryCancel: return {B::Retry | B::Cancel, second ? B::Cancel : B::Retry};
        default: return {B::Ok, B::Ok};
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
        case host::style::kCritical: return QMessageBox::Critical;
        case host::style::kQuestion: return QMessageBox::Question;
        case host::style::kExclamation: return QMessageBox::Warning;
        case host::style::kInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

host::Answer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel: return host::Answer::Cancel;
        case QMessageBox::Abort: return host::Answer::Abort;
        case QMessageBox::Retry: return host::Answer::Retry;
        case QMessageBox::Ignore: return host::Answer::Ignore;
        case QMessageBox::Yes: return host::Answer::Yes;
        case QMessageBox::No: return host::Answer::No;
        default: return host::Answer::Ok;
    }
}

}  // namespace

host::Answer QtPrompter::MsgBox(const host::Message& message) {
    const auto set = ButtonsOf(message.style);
    const QString title = FromUtf8(message.title.empty() ? std::string(errors::kAppTitle) : message.title);
    QMessageBox box(IconOf(message.style), title, FromUtf8(message.text), set.buttons, parent_);
    box.setObjectName("vexMsgBox");
    box.setDefaultButton(set.defaultButton);
    // Escape gives Cancel where there is one, else the only button (VB's rule).
    if (set.buttons & QMessageBox::Cancel) box.setEscapeButton(QMessageBox::Cancel);
    const int chosen = box.exec();
    // Closing a box without an escape button (Abort/Retry/Ignore) counts as its default.
    return AnswerOf(chosen == 0 ? set.defaultButton : chosen);
}

QtScreen::QtScreen() { sinceYield_.start(); }

QtScreen::~QtScreen() {
    if (hourglass_) QApplication::restoreOverrideCursor();
}

void QtScreen::SetPointer(host::Pointer pointer) {
    const bool want = pointer == host::Pointer::Hourglass;
    if (want == hourglass_) return;
    hourglass_ = want;
    if (want)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtScreen::DoEvents() {
    if (sinceYield_.elapsed() < kYieldIntervalMs) return;
    if (onYield) onYield();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    sinceYield_.restart();
}

std::string QtInputBox::Ask(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    QInputDialog dialog(parent_);
    dialog.setObjectName("vexInputBox");
    dialog.setWindowTitle(FromUtf8(title));
    dialog.setLabelText(FromUtf8(prompt));
    dialog.setTextValue(FromUtf8(defaultText));
    if (dialog.exec() != QDialog::Accepted) return {};
    return ToUtf8(dialog.textValue());
}

}  // namespace vex::app
