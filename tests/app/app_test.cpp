// The desktop host over the sample project: toolbar commands, the options dialog, the busy refusal.
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
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
#include "app/form_backup.h"
#include "app/form_option.h"
#include "app/form_result.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/vb_highlighter.h"
#include "ide/source_module.h"

using vex::app::MainWindow;

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// While `click` runs, answers each modal window with the next of `answers`, then closes any later one;
/// returns the titles of the modal windows met, in order.
QStringList WithModals(const std::function<void()>& click, std::vector<std::function<void(QWidget*)>> answers = {}) {
    QStringList titles;
    size_t next = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        titles << w->windowTitle();
        if (next < answers.size())
            answers[next++](w);
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    });
    timer.start();
    click();
    return titles;
}

}  // namespace

class AppTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;
    QTemporaryDir project_;

    /// Whether the add-in's button sits next-to-last on the standard toolbar.
    static bool HasAddInButton(MainWindow& w) {
        const auto actions = w.StandardToolbar()->actions();
        return actions[actions.size() - 2]->text() == QStringLiteral("vexTools");
    }

    /// A fresh copy of the sample project and a window connected to it in `mode` (-1: not connected).
    std::unique_ptr<MainWindow> Open(long mode = vex::addin::connect_mode::kStartup) {
        const QString src = QStringLiteral(VEXTOOLS_SOURCE_DIR "/examples/sample");
        for (const QString& f : QDir(src).entryList(QDir::Files)) {
            QFile::remove(project_.filePath(f));
            QFile::copy(src + "/" + f, project_.filePath(f));
            QFile(project_.filePath(f)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        auto w = std::make_unique<MainWindow>();
        if (!w->OpenPath(project_.filePath("Sample.vbp"))) return nullptr;
        w->show();
        if (mode >= 0) w->ConnectAddIn(mode);
        return w;
    }

private slots:
    void initTestCase() {
        qputenv("VEXTOOLS_SETTINGS", home_.filePath("settings.ini").toUtf8());
        qputenv("VEXTOOLS_HOME", home_.filePath("addin").toUtf8());
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
        // The changes before saving, as a diff against the file.
        const QString diff = w->ChangesOf(QStringLiteral("modUtil"));
        QVERIFY2(diff.startsWith(QStringLiteral("--- a/modUtil.bas\n+++ b/modUtil.bas\n@@ ")), qPrintable(diff));
        QVERIFY(diff.contains(QRegularExpression("\n\\+1\\d* ")));
        code->undo();  // one step takes back the whole action
        QCOMPARE(code->toPlainText(), before);
        QVERIFY(!code->Component().Source().Changed());
        QCOMPARE(w->ChangesOf(QStringLiteral("modUtil")), QString());
    }

    void closingWithUnsavedChangesAsksToSaveThem() {
        const struct {
            QMessageBox::StandardButton answer;
            bool closes, saved;
        } cases[] = {{QMessageBox::Cancel, false, false}, {QMessageBox::No, true, false}, {QMessageBox::Yes, true, true}};
        for (const auto& c : cases) {
            auto w = Open();
            QVERIFY(w);
            const QByteArray before = Bytes(project_.filePath("modUtil.bas"));
            w->Dock()->Button("AddLine")->trigger();
            QString question;
            WithModals([&] { w->close(); }, {[&](QWidget* d) {
                           auto* box = qobject_cast<QMessageBox*>(d);
                           QVERIFY(box);
                           question = box->text();
                           box->button(c.answer)->click();
                       }});
            QVERIFY2(question.startsWith(QStringLiteral("Save changes to the following files?\n")), qPrintable(question));
            QVERIFY(question.contains(QStringLiteral("modUtil.bas")));
            QCOMPARE(w->isVisible(), !c.closes);
            QCOMPARE(Bytes(project_.filePath("modUtil.bas")) != before, c.saved);
        }
    }

    void reloadReplacesOnlyWhatDiffersAndAnActionIsOneUndoStep() {
        auto w = Open();
        QVERIFY(w);
        vex::app::CodeWindow* code = w->OpenCodeWindow(QStringLiteral("modUtil"));
        QVERIFY(code);
        auto& module = code->Component().GetCodeModule();
        auto moduleText = [&] {
            QStringList lines;
            for (long i = 1; i <= module.CountOfLines(); ++i) lines << vex::app::FromModule(module.Lines(i, 1));
            return lines.join(u'\n');
        };
        const QString before = code->toPlainText();
        const std::vector<std::function<void()>> edits{
            [&] { module.ReplaceLine(1, "' first\r\n" + module.Lines(1, 1)); },         // insert at the head
            [&] { module.ReplaceLine(3, "' third"); },                                   // replace inside
            [&] { module.DeleteLines(2, 2); },                                          // delete inside
            [&] { const long n = module.CountOfLines(); module.ReplaceLine(n, module.Lines(n, 1) + "\r\n' last"); },
            [&] { module.DeleteLines(module.CountOfLines()); },                          // delete at the end
        };
        code->BeginAction();
        for (const auto& edit : edits) {
            edit();
            code->Reload();
            QCOMPARE(code->toPlainText(), moduleText());
        }
        code->EndAction();
        code->undo();  // every reload of the action is one step
        QCOMPARE(code->toPlainText(), before);
    }

    void everyButtonOnTheSampleAndARefusalWhileBusy() {
        auto w = Open();
        QVERIFY(w);
        const QString modUtil = QStringLiteral("modUtil");
        auto text = [&] { return QString::fromLatin1(w->ActiveVBProject()->FindComponent("modUtil")->Source().Serialize()); };
        // The check box of each row of the tool window's list: x checked, - not; all checked at the start.
        QListWidget* list = w->Dock()->List();
        QVERIFY(list->count() >= 3);
        auto checks = [&] {
            QString marks;
            for (int i = 0; i < list->count(); ++i) marks += list->item(i)->checkState() == Qt::Checked ? u'x' : u'-';
            return marks;
        };
        const QString all(list->count(), u'x'), none(list->count(), u'-');
        QCOMPARE(checks(), all);
        const struct {
            const char* key;
            bool changes;  // modUtil's text differs after the click
        } buttons[] = {{"SelectAll", false}, {"Unselect All", false}, {"SelectAll", false},
                       {"AddLine", true},    {"RemoveLine", true},    {"AddError", true},
                       {"RemoveError", true}, {"Tabulation", true},   {"DeleteKey", false},
                       {"Backup", false},     {"Option", false}};
        for (const auto& b : buttons) {
            QVERIFY2(w->Dock()->Button(b.key), b.key);
            const QString before = text();
            const QStringList modals = WithModals([&] { w->Dock()->Button(b.key)->trigger(); });
            QVERIFY2((text() != before) == b.changes, qPrintable(QString(b.key) + " " + modals.join(u',')));
            QCOMPARE(checks(), QString(b.key) == "Unselect All" ? none : all);
            QVERIFY(!w->Document()->blnActionEnCours);
        }
        // A click while an action runs shows the add-in's refusal (for every button: addin/doc_vex_tools_test.cpp).
        QVERIFY(w->OpenCodeWindow(modUtil));
        w->Document()->blnActionEnCours = true;
        const QString before = text();
        QString shown;
        WithModals([&] { w->Dock()->Button("AddLine")->trigger(); }, {[&](QWidget* box) {
                       if (auto* l = box->findChild<QLabel*>("qt_msgbox_label")) shown = l->text();
                       box->close();
                   }});
        QCOMPARE(shown, QStringLiteral("Une action est déjà en cours..."));
        QCOMPARE(text(), before);
        w->Document()->blnActionEnCours = false;
    }

    // An empty answer (and a cancel, in the every-button loop) deletes nothing: addin/doc_vex_tools_test.cpp.
    void deleteKeyAsksAndTheProposedKeywordDeletes() {
        auto w = Open();
        QVERIFY(w);
        auto text = [&] { return w->ActiveVBProject()->FindComponent("modUtil")->Source().Serialize(); };
        QVERIFY(text().find("Debug.Print") != std::string::npos);
        QString label, proposed, title;
        WithModals([&] { w->Dock()->Button("DeleteKey")->trigger(); }, {[&](QWidget* d) {
                       auto* input = qobject_cast<QInputDialog*>(d);
                       QVERIFY(input);
                       label = input->labelText();
                       proposed = input->textValue();
                       title = input->windowTitle();
                       input->accept();
                   }});
        QCOMPARE(label, QStringLiteral("Keyword to delete :"));
        QCOMPARE(title, QStringLiteral("vexTools"));
        QCOMPARE(proposed, QStringLiteral("Debug.Print"));
        QVERIFY(text().find("Debug.Print") == std::string::npos);
    }

    void backupCancelledCopiesNothingAndAcceptedCopiesTheProject() {
        for (const bool accept : {false, true}) {
            auto w = Open();
            QVERIFY(w);
            QTemporaryDir target;
            const QString dir = target.path();
            WithModals([&] { w->Dock()->Button("Backup")->trigger(); }, {[&](QWidget* d) {
                           auto* form = qobject_cast<vex::app::FormBackUp*>(d);
                           QVERIFY(form);
                           form->browse = [dir](QWidget*, const std::string&) { return dir.toStdString(); };
                           if (!accept) return form->Command3()->click();
                           form->Command1()->click();
                           form->Command2()->click();
                       }});
            const auto copied = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            QCOMPARE(copied.isEmpty(), !accept);
        }
    }

    void resultsSaveAppendsToAnExistingFile() {
        auto w = Open();
        QVERIFY(w);
        QTemporaryDir dir;
        const QString path = dir.filePath("Resultat.txt");
        Put(path, "before\r\n");
        w->Result().Append("line one");
        struct Chosen : vex::addin::SaveFileDialog {
            std::filesystem::path file;
            std::optional<std::filesystem::path> ShowSave(const vex::addin::SaveDialogSettings&) override { return file; }
        } chosen;
        chosen.file = path.toStdString();
        w->Result().SetSaveDialog(&chosen);
        w->Result().cmdSave()->click();
        QCOMPARE(Bytes(path), QByteArray("before\r\nline one\r\n"));
    }

    void optionsOkStoresAndCancelDoesNot() {
        auto w = Open();
        QVERIFY(w);
        auto option = [&](std::function<void(vex::app::FormOption*)> act) {
            WithModals([&] { w->Dock()->Button("Option")->trigger(); }, {[&](QWidget* d) {
                           auto* f = qobject_cast<vex::app::FormOption*>(d);
                           QVERIFY(f);
                           act(f);
                       }});
        };
        option([](vex::app::FormOption* f) {
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
        option([](vex::app::FormOption* f) {
            QCOMPARE(f->txtSeparatrice()->text(), QStringLiteral("MyKey"));
            f->txtSeparatrice()->setText("Other");
            QTest::keyClick(f, Qt::Key_Escape);
        });
        vex::app::FormOption again(w->Dialogs().Store(), w->Dialogs().Report());
        QCOMPARE(again.txtSeparatrice()->text(), QStringLiteral("MyKey"));
    }

    void projectMenuEditsKeepTheToolWindowListInStep() {
        auto w = Open();
        QVERIFY(w);
        const QString extra = project_.filePath("modExtra.bas");
        Put(extra, "Attribute VB_Name = \"modExtra\"\r\nSub X()\r\nEnd Sub\r\n");
        QVERIFY(w->OpenCodeWindow(QStringLiteral("modUtil")));
        auto rows = [&] {
            QStringList r;
            for (int i = 0; i < w->Dock()->List()->count(); ++i) r << w->Dock()->List()->item(i)->text();
            return r.join(u' ');
        };
        const QString start = rows();
        const struct {
            std::function<QString()> act;
            bool refused;
            QString list;  // the rows after it, %1 for those at the start
        } steps[] = {
            {[&] { return w->AddComponentFile(extra); }, false, "%1 modExtra"},
            {[&] { return w->AddComponentFile(extra); }, true, "%1 modExtra"},
            {[&] { return w->RenameComponent("modExtra", "modUtil"); }, true, "%1 modExtra"},
            {[&] { return w->RenameComponent("modExtra", "1bad"); }, true, "%1 modExtra"},
            {[&] { return w->RenameComponent("modExtra", "modMore"); }, false, "%1 modMore"},
            {[&] { return w->RemoveComponent("modMore"); }, false, "%1"},
            {[&] { return w->RemoveComponent("modMore"); }, true, "%1"},
        };
        for (const auto& step : steps) {
            QCOMPARE(!step.act().isEmpty(), step.refused);
            QCOMPARE(rows(), step.list.arg(start));
        }
        // The window of a component that moved in memory still edits it; a rename is saved in the module.
        vex::app::CodeWindow* code = w->OpenCodeWindow(QStringLiteral("modUtil"));
        QVERIFY(code && &code->Component() == w->ActiveVBProject()->FindComponent("modUtil"));
        QVERIFY(w->RenameComponent("modUtil", "modTools").isEmpty());
        QVERIFY(w->ActiveVBProject()->FindComponent("modTools")->Source().Serialize().find(
                    "Attribute VB_Name = \"modTools\"") != std::string::npos);
        QCOMPARE(rows().count("modTools"), 1);
    }

    void eachConnectionModePlacesTheButtonAsItShould() {
        namespace mode = vex::addin::connect_mode;
        const struct {
            long mode;
            bool button;  // the add-in's button next-to-last on the standard toolbar
            bool shown;   // the tool window shown by the connection itself
        } cases[] = {{mode::kAfterStartup, true, false}, {mode::kStartup, true, false},
                     {mode::kExternal, false, true}, {mode::kCommandLine, true, false}};
        for (const auto& c : cases) {
            auto w = Open(-1);
            QVERIFY(w);
            w->ConnectAddIn(c.mode);
            QVERIFY(w->Dock());
            QCOMPARE(HasAddInButton(*w), c.button);
            if (c.shown) QVERIFY(w->Dock()->isVisible());
        }
    }

    void addInManagerLoadsUnloadsAndTheDockKeepsItsPlace() {
        auto w = Open();
        QVERIFY(w && w->Dock());
        w->ApplyAddInManager(false, false);
        QVERIFY(!HasAddInButton(*w));
        QVERIFY(!w->LoadOnStartup());
        w->ApplyAddInManager(true, true);
        QVERIFY(HasAddInButton(*w));
        QVERIFY(w->LoadOnStartup());
        QCOMPARE(w->Dock()->objectName(), QStringLiteral("{B7AFC8D0-EBE5-11cf-A497-00A0C911E8B0}"));
        w->Dock()->show();
        w->addDockWidget(Qt::LeftDockWidgetArea, w->Dock());
        w.reset();
        auto again = Open();
        QVERIFY(again && again->Dock());
        QCOMPARE(again->dockWidgetArea(again->Dock()), Qt::LeftDockWidgetArea);
        again->addDockWidget(Qt::RightDockWidgetArea, again->Dock());
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
