#include "app/code_window.h"

#include <QFontDatabase>
#include <QTextBlock>

#include "app/module_lines.h"
#include "app/qt_text.h"
#include "app/vb_highlighter.h"
#include "ide/component.h"

namespace vex::app {

namespace {

QString ModuleText(const ide::CodeModule& module) {
    QStringList lines;
    for (const auto& line : ModuleLines(module)) lines << FromModule(line);
    return lines.join(u'\n');
}

}  // namespace

CodeWindow::CodeWindow(ide::Component& component, QWidget* parent) : QPlainTextEdit(parent), component_(component) {
    setObjectName(FromModule(component.Name()));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    new VbHighlighter(document());
    setReadOnly(!component.Loaded());
    Reload();
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!loading_) WriteBack();
    });
}

void CodeWindow::Reload() {
    const QString text = ModuleText(component_.GetCodeModule());
    if (text == toPlainText()) return;
    const int line = textCursor().blockNumber();
    loading_ = true;
    // Through a cursor, so that the reload is one step of the editor's undo history.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.insertText(text);
    loading_ = false;
    QTextCursor caret(document()->findBlockByNumber(std::min(line, document()->blockCount() - 1)));
    setTextCursor(caret);
}

void CodeWindow::WriteBack() {
    std::vector<std::string> lines;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) lines.push_back(ToModule(b.text()));
    SetModuleLines(component_.GetCodeModule(), lines);
    emit edited();
}

}  // namespace vex::app
