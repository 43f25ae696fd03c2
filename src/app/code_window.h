#pragma once
// A component's code window: the module's visible lines, editable, coloured; edits go straight into the
// module so that the engine and the save see them.

#include <QPlainTextEdit>

namespace vex::ide {
class Component;
}

namespace vex::app {

class CodeWindow : public QPlainTextEdit {
    Q_OBJECT
public:
    CodeWindow(ide::Component& component, QWidget* parent = nullptr);
    ide::Component& Component() { return component_; }
    /// Shows the module's lines again when they differ from the editor's (after an engine edit or a
    /// revert); the caret keeps its line.
    void Reload();

signals:
    /// The module was changed from this window.
    void edited();

private:
    void WriteBack();
    ide::Component& component_;
    bool loading_ = false;
};

}  // namespace vex::app
