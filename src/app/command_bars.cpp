#include "app/command_bars.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/qt_text.h"
#include "errors/runtime_error.h"

namespace vex::app {

QImage ToImage(const addin::Picture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.rgb.data() + static_cast<size_t>(y) * picture.width * 3, picture.width * 3, image.scanLine(y));
    return image;
}

QtCommandBarButton::~QtCommandBarButton() = default;

std::string QtCommandBarButton::Caption() const { return action_ ? ToUtf8(action_->text()) : std::string(); }

void QtCommandBarButton::SetCaption(std::string_view caption) {
    if (!action_) throw errors::RuntimeError(91, "Object variable or With block variable not set");
    action_->setText(FromUtf8(caption));
}

void QtCommandBarButton::PasteFace() {
    if (!action_) throw errors::RuntimeError(91, "Object variable or With block variable not set");
    if (!clipboard_) throw errors::RuntimeError(-2147467259, "The clipboard holds no picture");
    action_->setIcon(QIcon(QPixmap::fromImage(ToImage(*clipboard_))));
}

void QtCommandBarButton::Delete() {
    if (!action_) return;
    if (bar_) bar_->removeAction(action_);
    delete action_.data();
}

long QtCommandBar::ControlsCount() const { return static_cast<long>(bar_.actions().size()); }

std::shared_ptr<addin::CommandBarButton> QtCommandBar::AddButton(long before) {
    const auto actions = bar_.actions();
    if (before < 1 || before > actions.size() + 1) throw errors::RuntimeError(5, "Invalid procedure call or argument");
    auto* action = new QAction(&bar_);
    bar_.insertAction(before <= actions.size() ? actions[before - 1] : nullptr, action);
    return std::make_shared<QtCommandBarButton>(bar_, action, clipboard_);
}

}  // namespace vex::app
