#include "app/code_window.h"

#include <QFontDatabase>
#include <QTextBlock>

#include "app/module_lines.h"
#include "app/qt_text.h"
#include "app/vb_highlighter.h"
#include "ide/component.h"

namespace vex::app {

namespace {

QStringList ModuleText(const ide::CodeModule& module) {
    QStringList lines;
    for (const auto& line : ModuleLines(module)) lines << FromModule(line);
    if (lines.isEmpty()) lines << QString();  // an editor always holds one line
    return lines;
}

/// The lines `first` to `last` (excluded) joined as the editor holds them.
QString Joined(const QStringList& lines, qsizetype first, qsizetype last) {
    return lines.mid(first, last - first).join(u'\n');
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
    const QStringList wanted = ModuleText(component_.GetCodeModule());
    QTextDocument* doc = document();
    const qsizetype have = doc->blockCount();
    const qsizetype want = wanted.size();
    qsizetype head = 0;
    for (QTextBlock b = doc->begin(); head < have && head < want && b.text() == wanted[head]; b = b.next()) ++head;
    if (head == have && head == want) return;
    qsizetype tail = 0;
    for (QTextBlock b = doc->lastBlock(); tail < have - head && tail < want - head && b.text() == wanted[want - 1 - tail];
         b = b.previous())
        ++tail;
    // The editor's lines [head, have - tail) become the module's [head, want - tail).
    auto blockAt = [doc](qsizetype n) { return doc->findBlockByNumber(static_cast<int>(n)); };
    auto endOf = [](const QTextBlock& b) { return b.position() + b.length() - 1; };
    const bool oldMid = have - tail > head, newMid = want - tail > head;
    int from = 0, to = 0;
    QString text = Joined(wanted, head, want - tail);
    if (oldMid) {
        from = blockAt(head).position();
        to = endOf(blockAt(have - tail - 1));
        if (!newMid) {  // the lines go with one of their line breaks
            if (tail > 0)
                to = blockAt(have - tail).position();
            else
                from = endOf(blockAt(head - 1));
        }
    } else if (head < have) {
        from = to = blockAt(head).position();
        text += u'\n';
    } else {
        from = to = endOf(doc->lastBlock());
        text.prepend(u'\n');
    }
    const int line = textCursor().blockNumber();
    loading_ = true;
    // Through a cursor, so that the reload is a step of the editor's undo history.
    QTextCursor edit(doc);
    if (inAction_ && reloadedInAction_)
        edit.joinPreviousEditBlock();
    else
        edit.beginEditBlock();
    edit.setPosition(from);
    edit.setPosition(to, QTextCursor::KeepAnchor);
    edit.insertText(text);
    edit.endEditBlock();
    reloadedInAction_ = inAction_;
    loading_ = false;
    QTextCursor caret(doc->findBlockByNumber(std::min(line, doc->blockCount() - 1)));
    setTextCursor(caret);
}

void CodeWindow::WriteBack() {
    std::vector<std::string> lines;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) lines.push_back(ToModule(b.text()));
    SetModuleLines(component_.GetCodeModule(), lines);
    emit edited();
}

}  // namespace vex::app
