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
    /// Shows the module's lines again where they differ from the editor's (after an engine edit or a
    /// revert): only the lines between the common head and tail are replaced, in one step of the undo
    /// history; the caret keeps its line.
    void Reload();
    /// Between the two, every reload joins the same undo step, so that Undo takes back a whole toolbar
    /// action however often the window showed its progress.
    void BeginAction() { inAction_ = true, reloadedInAction_ = false; }
    void EndAction() { inAction_ = false; }

signals:
    /// The module was changed from this window.
    void edited();

private:
    void WriteBack();
    ide::Component& component_;
    bool loading_ = false;
    bool inAction_ = false;
    bool reloadedInAction_ = false;
};

}  // namespace vex::app
