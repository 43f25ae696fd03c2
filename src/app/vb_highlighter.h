#pragma once
// VB6 syntax colouring of a code window: keywords, string literals and comments, line by line.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace vex::app {

class VbHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit VbHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat keyword_;
    QTextCharFormat string_;
    QTextCharFormat comment_;
};

}  // namespace vex::app
