#include "app/vb_highlighter.h"

#include <QSet>

namespace vex::app {

namespace {

const QSet<QString>& Keywords() {
    static const QSet<QString> words = [] {
        QSet<QString> s;
        for (const char* w :
             {"and", "as", "boolean", "byref", "byte", "byval", "call", "case", "const", "currency", "date",
              "debug", "declare", "dim", "do", "double", "each", "else", "elseif", "end", "enum", "erase", "error",
              "event", "exit", "explicit", "false", "for", "friend", "function", "get", "global", "gosub", "goto",
              "if", "implements", "in", "integer", "is", "let", "lib", "like", "long", "loop", "me", "mod", "new",
              "next", "not", "nothing", "object", "on", "option", "optional", "or", "paramarray", "preserve",
              "print", "private", "property", "public", "raiseevent", "redim", "resume", "return", "select", "set",
              "single", "static", "step", "stop", "string", "sub", "then", "to", "true", "type", "until",
              "variant", "wend", "while", "with", "withevents", "xor"})
            s.insert(QString::fromLatin1(w));
        return s;
    }();
    return words;
}

bool IsIdent(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

VbHighlighter::VbHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    keyword_.setForeground(QColor(0, 0, 160));
    string_.setForeground(QColor(128, 0, 0));
    comment_.setForeground(QColor(0, 128, 0));
}

void VbHighlighter::highlightBlock(const QString& text) {
    const qsizetype n = text.size();
    bool statementStart = true;  // Rem is a comment only where a statement begins
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == u'\'') {
            setFormat(int(i), int(n - i), comment_);
            return;
        }
        if (c == u'"') {
            qsizetype j = i + 1;
            while (j < n) {
                if (text[j] == u'"') {
                    if (j + 1 < n && text[j + 1] == u'"') {
                        j += 2;  // "" is a quote inside the literal
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            setFormat(int(i), int(j - i), string_);
            i = j;
            statementStart = false;
            continue;
        }
        if (c.isLetter() || c == u'_') {
            qsizetype j = i;
            while (j < n && IsIdent(text[j])) ++j;
            const QString word = text.mid(i, j - i).toLower();
            const bool member = i > 0 && text[i - 1] == u'.';
            if (word == u"rem" && statementStart) {
                setFormat(int(i), int(n - i), comment_);
                return;
            }
            if (!member && Keywords().contains(word)) setFormat(int(i), int(j - i), keyword_);
            statementStart = false;
            i = j;
            continue;
        }
        if (c == u':') statementStart = true;
        else if (!c.isSpace() && !c.isDigit()) statementStart = false;
        ++i;
    }
}

}  // namespace vex::app
