// The desktop host over the sample project: toolbar commands, the options dialog, the busy refusal.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "addin/doc_vex_tools.h"
#include "app/code_window.h"
#include "app/form_option.h"
#include "app/main_window.h"
#include "app/vb_highlighter.h"
#include "ide/source_module.h"

using vex::app::MainWindow;

namespace {

/// Runs `act` on the next modal dialog once it is shown.
void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        std::function<void()> poll;
        auto tries = std::make_shared<int>(0);
        auto step = std::make_shared<std::function<void()>>();
        *step = [act, tries, step] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                act(w);
                return;
            }
            if (++*tries < 200) QTimer::singleShot(10, *step);
        };
        (*step)();
    });
}

}  // namespace

class AppTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;
    QTemporaryDir project_;

    /// A fresh copy of the sample project and a window connected to it.
    std::unique_ptr<MainWindow> Open() {
        const QString src = QStringLiteral(VEXTOOLS_SOURCE_DIR "/examples/sample");
        for (const QString& f : QDir(src).entryList(QDir::Files)) {
            QFile::remove(project_.filePath(f));
            QFile::copy(src + "/" + f, project_.filePath(f));
            QFile(project_.filePath(f)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        auto w = std::make_unique<MainWindow>();
        if (!w->OpenPath(project_.filePath("Sample.vbp"))) return nullptr;
        w->show();
        w->ConnectAddIn(vex::addin::connect_mode::kStartup);
        return w;
    }

private slots:
    void initTestCase() {
        qputenv("VEXTOOLS_SETTINGS", home_.filePath("settings.ini").toUtf8());
        qputenv("VEXTOOLS_HOME", home_.filePath("addin").toUtf8());
    }

    void toolWindowListsTheComponentsAllSelected() {
        auto w = Open();
        QVERIFY(w && w->Dock());
        QListWidget* list = w->Dock()->List();
        QVERIFY(list->count() >= 3);
        for (int i = 0; i < list->count(); ++i) QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        w->Dock()->Button("Unselect All")->trigger();
        for (int i = 0; i < list->count(); ++i) QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
        w->Dock()->Button("SelectAll")->trigger();
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        // The add-in's button sits next-to-last on the standard toolbar.
        const auto actions = w->StandardToolbar()->actions();
        QCOMPARE(actions[actions.size() - 2]->text(), QStringLiteral("vexTools"));
    }

    void numberingChangesTheCodeWindowAndUndoTakesItBack() {
        auto w = Open();
        QVERIFY(w);
        vex::app::CodeWindow* code = w->OpenCodeWindow(QStringLiteral("modUtil"));
        QVERIFY(code);
        const QString before = code->toPlainText();
        w->Dock()->Button("AddLine")->trigger();
        const QString after = code->toPlainText();
        QVERIFY(after != before);
        QVERIFY(after.contains(QRegularExpression("\n1\\d* ")));
        QVERIFY(w->Dock()->List()->count() > 0);
        code->undo();
        QCOMPARE(code->toPlainText(), before);
        QVERIFY(!code->Component().Source().Changed());
    }

    void aClickWhileBusyIsRefused() {
        auto w = Open();
        QVERIFY(w && w->Document());
        w->Document()->blnActionEnCours = true;
        QString shown;
        OnNextModal([&](QWidget* box) {
            shown = box->findChild<QLabel*>("qt_msgbox_label") ? box->findChild<QLabel*>("qt_msgbox_label")->text() : QString();
            box->close();
        });
        w->Dock()->Button("Unselect All")->trigger();
        QCOMPARE(shown, QStringLiteral("Une action est déjà en cours..."));
        QCOMPARE(w->Dock()->List()->item(0)->checkState(), Qt::Checked);
        w->Document()->blnActionEnCours = false;
    }

    void optionsOkStoresAndCancelDoesNot() {
        auto w = Open();
        QVERIFY(w);
        OnNextModal([](QWidget* d) {
            auto* f = qobject_cast<vex::app::FormOption*>(d);
            QVERIFY(f);
            QCOMPARE(f->tabOption()->currentIndex(), 0);
            f->txtSeparatrice()->setText("MyKey");
            f->txtDebut()->setPlainText("On Error GoTo X");
            QTextCursor c = f->txtDebut()->textCursor();
            c.setPosition(3);
            c.setPosition(8, QTextCursor::KeepAnchor);  // "Error"
            f->txtDebut()->setTextCursor(c);
            f->findChild<QPushButton*>("cmdAddStartKey(1)")->click();
            QCOMPARE(f->txtDebut()->toPlainText(), QStringLiteral("On $$FileName$$ GoTo X"));
            f->cmdOK()->click();
        });
        w->Dock()->Button("Option")->trigger();
        OnNextModal([](QWidget* d) {
            auto* f = qobject_cast<vex::app::FormOption*>(d);
            QVERIFY(f);
            QCOMPARE(f->txtSeparatrice()->text(), QStringLiteral("MyKey"));
            f->txtSeparatrice()->setText("Other");
            QTest::keyClick(f, Qt::Key_Escape);
        });
        w->Dock()->Button("Option")->trigger();
        vex::app::FormOption again(w->Dialogs().Store(), w->Dialogs().Report());
        QCOMPARE(again.txtSeparatrice()->text(), QStringLiteral("MyKey"));
    }

    void theProjectMenuEditsRaiseTheEventsTheToolWindowFollows() {
        auto w = Open();
        QVERIFY(w);
        auto rows = [&] {
            QStringList names;
            for (int i = 0; i < w->Dock()->List()->count(); ++i) names << w->Dock()->List()->item(i)->text();
            names.sort();
            return names;
        };
        const QStringList before = rows();
        QVERIFY(before.contains(QStringLiteral("modUtil")));
        QVERIFY(w->OpenCodeWindow(QStringLiteral("modUtil")));

        QCOMPARE(w->RenameComponent(QStringLiteral("modUtil"), QStringLiteral("modTools")), QString());
        QVERIFY(rows().contains(QStringLiteral("modTools")) && !rows().contains(QStringLiteral("modUtil")));
        const auto& renamed = *w->ActiveVBProject()->FindComponent("modTools");
        QVERIFY(renamed.Source().Serialize().find("Attribute VB_Name = \"modTools\"") != std::string::npos);
        QVERIFY(renamed.Source().Changed());
        for (const char* bad : {"1abc", "mod Tools", "frmMain", ""})
            QVERIFY2(!w->RenameComponent(QStringLiteral("modTools"), QString::fromLatin1(bad)).isEmpty(), bad);

        QFile extra(project_.filePath("modExtra.bas"));
        QVERIFY(extra.open(QIODevice::WriteOnly));
        extra.write("Attribute VB_Name = \"modExtra\"\r\nSub X()\r\nEnd Sub\r\n");
        extra.close();
        QCOMPARE(w->AddComponentFile(extra.fileName()), QString());
        QVERIFY(rows().contains(QStringLiteral("modExtra")));
        QVERIFY(!w->AddComponentFile(extra.fileName()).isEmpty());  // already there

        QCOMPARE(w->RemoveComponent(QStringLiteral("clsCustomer")), QString());
        QVERIFY(!rows().contains(QStringLiteral("clsCustomer")));
        QCOMPARE(rows().size(), before.size());
        QVERIFY(w->OpenCodeWindow(QStringLiteral("modTools")));  // windows survive the moves
        QVERIFY(QFile::exists(project_.filePath("clsCustomer.cls")));
    }

    void colouringFollowsTheCoreLexer() {
        // Each line, and the colour class of each of its characters: k keyword, s string, c comment, . none.
        const struct {
            const char* line;
            const char* classes;
        } rows[] = {
            {"If x = \"It's\" Then ' done", "kk . . ssssss kkkk cccccc"},
            {"Rem note: Sub", "ccccccccccccc"},
            {"Debug.Print End", "kkkkk...... kkk"},
            {"x = 1 ' goes on _", ". . . ccccccccccc"},
            {"Sub A", "ccccc"},  // the comment above continues into this line
            {"\xe9t\xe9 = 1", "... . ."},
        };
        QTextDocument doc;
        QString text;
        for (const auto& r : rows) text += QString::fromLatin1(r.line) + u'\n';
        text.chop(1);
        doc.setPlainText(text);
        vex::app::VbHighlighter highlighter(&doc);
        highlighter.rehighlight();
        QTextBlock block = doc.firstBlock();
        for (const auto& r : rows) {
            QString got(block.text().size(), u'.');
            for (const auto& range : block.layout()->formats()) {
                const QColor colour = range.format.foreground().color();
                const QChar mark = colour == QColor(0, 0, 160) ? u'k' : colour == QColor(128, 0, 0) ? u's' : u'c';
                for (int i = range.start; i < range.start + range.length; ++i) got[i] = mark;
            }
            for (int i = 0; i < got.size(); ++i)
                if (block.text()[i] == u' ' && r.classes[i] == ' ') got[i] = u' ';
            QCOMPARE(got, QString::fromLatin1(r.classes));
            block = block.next();
        }
    }
};

QTEST_MAIN(AppTest)
#include "app_test.moc"
