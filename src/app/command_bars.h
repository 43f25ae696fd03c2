#pragma once
// The IDE's command bars over Qt: the menu bar (command bar 1) and the standard toolbar (command bar 2),
// with the push buttons an add-in puts on them.

#include <QPointer>
#include <QWidget>

#include "addin/ide_model.h"

class QAction;

namespace vex::app {

/// A button an add-in added; its QAction lives on the bar until Delete.
class QtCommandBarButton : public addin::CommandBarButton {
public:
    QtCommandBarButton(QWidget& bar, QAction* action, const addin::Picture* const& clipboard)
        : bar_(&bar), action_(action), clipboard_(clipboard) {}
    ~QtCommandBarButton() override;
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    void PasteFace() override;
    void Delete() override;
    QAction* Action() const { return action_; }

private:
    QPointer<QWidget> bar_;
    QPointer<QAction> action_;
    const addin::Picture* const& clipboard_;
};

/// A command bar over a widget whose actions are its controls (QMenuBar or QToolBar).
class QtCommandBar : public addin::CommandBar {
public:
    /// `clipboard` points at the picture the IDE's clipboard holds (null when it holds none).
    QtCommandBar(QWidget& bar, const addin::Picture* const& clipboard) : bar_(bar), clipboard_(clipboard) {}
    bool Visible() const override { return bar_.isVisible(); }
    void SetVisible(bool visible) override { bar_.setVisible(visible); }
    long ControlsCount() const override;
    std::shared_ptr<addin::CommandBarButton> AddButton(long before) override;

private:
    QWidget& bar_;
    const addin::Picture* const& clipboard_;
};

/// A picture as a QImage.
QImage ToImage(const addin::Picture& picture);

}  // namespace vex::app
