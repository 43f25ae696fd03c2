#pragma once
// docVexTools: the add-in's tool window as a dock widget. Toolbar1 with the ten command buttons,
// lstFileProject (a tick box per row is the row's selected state), PercentProject and PercentFile.

#include <QDockWidget>
#include <QHash>
#include <functional>

#include "addin/views.h"

class QAction;
class QListWidget;
class QProgressBar;
class QToolBar;

namespace vex::app {

class DocVexToolsWidget : public QDockWidget, public addin::ToolWindowView {
    Q_OBJECT
public:
    explicit DocVexToolsWidget(QWidget* parent = nullptr);
    ~DocVexToolsWidget() override;

    addin::ProjectListView& lstFileProject() override;
    host::ProgressBar& PercentProject() override;
    host::ProgressBar& PercentFile() override;
    void SetButtonPressed(std::string_view key, bool pressed) override;
    void SetEvents(addin::ToolbarEvents* events) override { events_ = events; }
    /// Runs after each toolbar command returns (the host shows the edited code then).
    void SetAfterClick(std::function<void()> after) { afterClick_ = std::move(after); }
    /// Runs before a toolbar command starts (not for a click made while one runs).
    void SetBeforeClick(std::function<void()> before) { beforeClick_ = std::move(before); }

    /// The toolbar button of a `Key` (null when none has it).
    QAction* Button(const QString& key) const { return buttons_.value(key); }
    QToolBar* Toolbar1() const { return toolbar_; }
    QListWidget* List() const { return list_; }
    QProgressBar* ProjectBar() const { return projectBar_; }
    QProgressBar* FileBar() const { return fileBar_; }

private:
    class ListAdapter;
    class BarAdapter;
    QToolBar* toolbar_;
    QListWidget* list_;
    QProgressBar* projectBar_;
    QProgressBar* fileBar_;
    QHash<QString, QAction*> buttons_;
    std::unique_ptr<ListAdapter> listAdapter_;
    std::unique_ptr<BarAdapter> projectAdapter_;
    std::unique_ptr<BarAdapter> fileAdapter_;
    addin::ToolbarEvents* events_ = nullptr;
    std::function<void()> afterClick_;
    std::function<void()> beforeClick_;
    int clickDepth_ = 0;  ///< toolbar commands under way (a click while one runs makes two)
};

}  // namespace vex::app
