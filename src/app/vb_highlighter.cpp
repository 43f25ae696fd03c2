#include "app/vb_highlighter.h"

#include <QSet>
#include <string>

#include "app/qt_text.h"
#include "ide/vb_lexer.h"

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

// The line as module bytes, one byte per QChar, so that the lexer's offsets are the text's positions.
std::string LineBytes(const QString& text) {
    std::string bytes = ToModule(text);
    if (bytes.size() == static_cast<size_t>(text.size())) return bytes;
    bytes.clear();  // a character outside the code page took more or fewer bytes: convert one by one
    for (const QChar c : text) {
        const std::string one = ToModule(QString(c));
        bytes += one.size() == 1 ? one[0] : '?';
    }
    return bytes;
}

// Block state: the previous line was a comment that continues into this one.
constexpr int kContinuedComment = 1;

}  // namespace

VbHighlighter::VbHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    keyword_.setForeground(QColor(0, 0, 160));
    string_.setForeground(QColor(128, 0, 0));
    comment_.setForeground(QColor(0, 128, 0));
}

// The tokens are the core lexer's, so the colours follow the rules every pass reads the code by.
void VbHighlighter::highlightBlock(const QString& text) {
    const std::string bytes = LineBytes(text);
    const bool continues = ide::lex::Continues(bytes);
    if (previousBlockState() == kContinuedComment) {
        setFormat(0, int(text.size()), comment_);
        setCurrentBlockState(continues ? kContinuedComment : 0);
        return;
    }
    bool commentContinues = false;
    for (const auto& token : ide::lex::Tokenize(bytes)) {
        const int at = int(token.offset), length = int(token.text.size());
        using Kind = ide::lex::Token::Kind;
        if (token.kind == Kind::Comment) {
            setFormat(at, length, comment_);
            commentContinues = continues;
        } else if (token.kind == Kind::String) {
            setFormat(at, length, string_);
        } else if (token.kind == Kind::Word) {
            const bool member = at > 0 && bytes[static_cast<size_t>(at) - 1] == '.';
            if (!member && Keywords().contains(QString::fromLatin1(token.text.data(), length).toLower()))
                setFormat(at, length, keyword_);
        }
    }
    setCurrentBlockState(commentContinues ? kContinuedComment : 0);
}

}  // namespace vex::app
