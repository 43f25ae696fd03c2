#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "app/addin_manager.h"
#include "app/code_window.h"
#include "app/qt_text.h"
#include "ide/component.h"
#include "ide/project_loader.h"
#include "ide/project_saver.h"
#include "ide/source_module.h"
#include "settings/locations.h"
#include "text/unified_diff.h"
#include "util/file_io.h"

// The artwork lives in the static library; its resources must be registered by name.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace vex::app {

namespace {

constexpr const char* kRecentApp = "VexTools IDE";
constexpr const char* kRecentSection = "Recent";
constexpr int kRecentCount = 4;
constexpr const char* kWindowsSection = "Windows";
constexpr const char* kDockStateKey = "DockState";
constexpr const char* kAddInsSection = "Add-Ins";

std::string AddInDirectoryOrEmpty() {
    try {
        return settings::AddinDirectory().string();
    } catch (const std::exception&) {
        return {};
    }
}

/// The tool window as the IDE's Window: its visibility.
class DockWindow : public addin::Window {
public:
    explicit DockWindow(QDockWidget& dock) : dock_(&dock) {}
    bool Visible() const override { return dock_ && dock_->isVisible(); }
    void SetVisible(bool visible) override {
        if (dock_) dock_->setVisible(visible);
    }

private:
    QPointer<QDockWidget> dock_;
};

template <typename T>
addin::Subscription Subscribe(std::list<T*>& sinks, T& sink) {
    auto it = sinks.insert(sinks.end(), &sink);
    return addin::Subscription([&sinks, it] { sinks.erase(it); });
}

}  // namespace

MainWindow::MainWindow()
    : store_(std::make_unique<settings::IniSettingsStore>(settings::SettingsFilePath())),
      prompter_(this),
      report_(std::make_unique<errors::GestErreur>(
          prompter_, clock_, std::filesystem::path(AddInDirectoryOrEmpty()) / settings::kErrorLogName, &screen_)),
      result_(screen_, this),
      dialogs_(*store_, *report_, prompter_, AddInDirectoryOrEmpty(), this),
      services_{*store_, *report_, prompter_, screen_, notices_, clock_, copier_, dialogs_, result_} {
    InitIconResources();
    setObjectName("vextoolsIde");
    setWindowTitle(QStringLiteral("VexTools IDE"));
    resize(1100, 700);
    explorer_ = new QTreeWidget(this);
    explorer_->setObjectName("projectExplorer");
    explorer_->setHeaderLabel(QStringLiteral("Project"));
    auto* explorerDock = new QDockWidget(QStringLiteral("Project Explorer"), this);
    explorerDock->setObjectName("projectExplorerDock");
    explorerDock->setWidget(explorer_);
    addDockWidget(Qt::LeftDockWidgetArea, explorerDock);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("codeWindows");
    tabs_->setTabsClosable(true);
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);
    connect(tabs_, &QTabWidget::tabCloseRequested, this, [this](int i) { delete tabs_->widget(i); });
    connect(explorer_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (!item->parent()) {
            SetActiveProject(explorer_->indexOfTopLevelItem(item));
            return;
        }
        const int project = explorer_->indexOfTopLevelItem(item->parent());
        if (project != int(0) && static_cast<size_t>(project) != static_cast<size_t>(-1)) SetActiveProject(project);
        OpenCodeWindow(item->data(0, Qt::UserRole).toString());
    });
    BuildMenus();
    menuBarBar_ = std::make_unique<QtCommandBar>(*menuBar(), clipboardView_);
    toolbarBar_ = std::make_unique<QtCommandBar>(*toolbar_, clipboardView_);
    // While an action runs, the code window in front shows each edit as it is made.
    // A large module takes a while to compare and show: it is shown again only after three times that
    // long, so that the rest of the window still repaints once a frame.
    screen_.onYield = [this] {
        CodeWindow* w = CurrentCodeWindow();
        if (!w || (sinceReload_.isValid() && !sinceReload_.hasExpired(reloadPauseMs_))) return;
        QElapsedTimer took;
        took.start();
        w->Reload();
        reloadPauseMs_ = 3 * took.elapsed();
        sinceReload_.start();
    };
    statusBar()->showMessage(QStringLiteral("Ready"));
    // Docks created later (the add-in's tool window) find their place in this state by object name.
    try {
        if (const auto state = store_->Find(kRecentApp, kWindowsSection, kDockStateKey))
            restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*state)));
    } catch (const std::exception&) {  // positions are a convenience: an unreadable store starts afresh
    }
}

MainWindow::~MainWindow() {
    SaveDockState();
    DisconnectAddIn();
    CloseCodeWindows();
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open = file->addAction(QIcon::fromTheme("document-open"), QStringLiteral("&Open Project..."), this,
                                    &MainWindow::OpenDialog, QKeySequence::Open);
    recentMenu_ = file->addMenu(QStringLiteral("&Recent Files"));
    file->addSeparator();
    QAction* save = file->addAction(QIcon::fromTheme("document-save"), QStringLiteral("&Save"), this,
                                    [this] { Save(false); }, QKeySequence::Save);
    QAction* saveAll = file->addAction(QIcon::fromTheme("document-save-all"), QStringLiteral("Save A&ll"), this,
                                       [this] { Save(true); });
    file->addAction(QStringLiteral("Re&vert"), this, &MainWindow::Revert);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close, QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* undo = edit->addAction(QIcon::fromTheme("edit-undo"), QStringLiteral("&Undo"), this, [this] {
        if (CodeWindow* w = CurrentCodeWindow()) w->undo();
    }, QKeySequence::Undo);
    QAction* redo = edit->addAction(QIcon::fromTheme("edit-redo"), QStringLiteral("&Redo"), this, [this] {
        if (CodeWindow* w = CurrentCodeWindow()) w->redo();
    }, QKeySequence::Redo);
    undo->setObjectName("editUndo");
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
    project->addAction(QStringLiteral("Set as &Active Project"), this, [this] {
        QTreeWidgetItem* item = explorer_->currentItem();
        if (!item) return;
        while (item->parent()) item = item->parent();
        SetActiveProject(explorer_->indexOfTopLevelItem(item));
    });
    project->addAction(QStringLiteral("View &Changes..."), this, &MainWindow::ShowChanges);
    project->addSeparator();
    project->addAction(QStringLiteral("&Add File..."), this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Add File"), QString(),
            QStringLiteral("Modules (*.bas *.cls *.frm *.ctl *.dob *.pag);;All files (*)"));
        if (path.isEmpty()) return;
        if (const QString why = AddComponentFile(path); !why.isEmpty())
            QMessageBox::warning(this, QStringLiteral("VexTools IDE"), why);
    });
    project->addAction(QStringLiteral("&Remove Component"), this, [this] {
        const QString name = ChosenComponent();
        if (name.isEmpty()) return;
        if (QMessageBox::question(this, QStringLiteral("VexTools IDE"),
                                  QStringLiteral("Remove %1 from the project? Its file stays on disk.").arg(name)) !=
            QMessageBox::Yes)
            return;
        if (const QString why = RemoveComponent(name); !why.isEmpty())
            QMessageBox::warning(this, QStringLiteral("VexTools IDE"), why);
    });
    project->addAction(QStringLiteral("Re&name Component..."), this, [this] {
        const QString name = ChosenComponent();
        if (name.isEmpty()) return;
        bool ok = false;
        const QString to = QInputDialog::getText(this, QStringLiteral("Rename Component"), QStringLiteral("New name:"),
                                                 QLineEdit::Normal, name, &ok);
        if (!ok || to == name) return;
        if (const QString why = RenameComponent(name, to); !why.isEmpty())
            QMessageBox::warning(this, QStringLiteral("VexTools IDE"), why);
    });
    QMenu* addins = menuBar()->addMenu(QStringLiteral("&Add-Ins"));
    addins->addAction(QStringLiteral("&Add-In Manager..."), this, &MainWindow::ShowAddInManager)
        ->setObjectName("addInManagerAction");

    toolbar_ = addToolBar(QStringLiteral("Standard"));
    toolbar_->setObjectName("standardToolbar");
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->addAction(open);
    toolbar_->addAction(save);
    toolbar_->addAction(saveAll);
    toolbar_->addSeparator();
    toolbar_->addAction(undo);
    toolbar_->addAction(redo);
    toolbar_->addSeparator();
    // The add-in's button lands before this last one, as on the VB6 IDE's standard toolbar.
    QAction* explorerAction = toolbar_->addAction(QIcon::fromTheme("view-list-tree"), QStringLiteral("Project Explorer"),
                                                  this, [this] { explorer_->parentWidget()->show(); });
    view->addAction(explorerAction);
    FillRecent();
}

bool MainWindow::OpenPath(const QString& path) {
    ide::Workspace loaded;
    try {
        loaded = ide::LoadWorkspace(std::filesystem::path(ToUtf8(path)));
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("VexTools IDE"), FromUtf8(e.what()));
        return false;
    }
    if (!MayLetChangesGo()) return false;
    CloseCodeWindows();
    workspace_ = std::move(loaded);
    FillExplorer();
    AddRecent(path);
    QStringList warnings;
    for (const auto& w : workspace_.Warnings()) warnings << FromUtf8(w);
    QStringList failures;
    for (const auto& f : workspace_.Failures()) failures << FromUtf8(f.message);
    if (!failures.isEmpty())
        QMessageBox::warning(this, QStringLiteral("VexTools IDE"),
                             QStringLiteral("These files were left out; their code is not shown and never saved:\n%1")
                                 .arg(failures.join(u'\n')));
    statusBar()->showMessage(warnings.isEmpty() ? QStringLiteral("Opened %1").arg(path) : warnings.join(u"; "));
    setWindowTitle(QStringLiteral("%1 - VexTools IDE").arg(QFileInfo(path).fileName()));
    if (ide::Project* p = ActiveVBProject())
        for (auto* sink : projectSinks_) sink->ItemActivated(*p);
    return true;
}

void MainWindow::OpenDialog() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Project"), QString(),
                                                      QStringLiteral("VB6 projects (*.vbp *.vbg);;Modules (*.bas *.cls *.frm *.ctl *.dob *.pag);;All files (*)"));
    if (!path.isEmpty()) OpenPath(path);
}

void MainWindow::AddRecent(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files{full};
    try {
        for (int i = 1; i <= kRecentCount; ++i) {
            const auto v = store_->Find(kRecentApp, kRecentSection, "File" + std::to_string(i));
            if (v && FromUtf8(*v) != full) files << FromUtf8(*v);
        }
        for (int i = 0; i < kRecentCount && i < files.size(); ++i)
            store_->SaveSetting(kRecentApp, kRecentSection, "File" + std::to_string(i + 1), ToUtf8(files[i]));
    } catch (const std::exception&) {
        // The recent list is a convenience: a store that cannot be written leaves it as it was.
    }
    FillRecent();
}

void MainWindow::FillRecent() {
    recentMenu_->clear();
    for (int i = 1; i <= kRecentCount; ++i) {
        std::optional<std::string> v;
        try {
            v = store_->Find(kRecentApp, kRecentSection, "File" + std::to_string(i));
        } catch (const std::exception&) {
        }
        if (!v) continue;
        const QString path = FromUtf8(*v);
        recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i).arg(path), this, [this, path] { OpenPath(path); });
    }
    recentMenu_->setEnabled(!recentMenu_->isEmpty());
}

void MainWindow::FillExplorer() {
    explorer_->clear();
    auto& projects = workspace_.Projects();
    for (size_t i = 0; i < projects.size(); ++i) {
        auto* top = new QTreeWidgetItem(explorer_, {FromModule(projects[i].Name())});
        QFont font = top->font(0);
        font.setBold(&projects[i] == ActiveVBProject());
        top->setFont(0, font);
        for (const auto& c : projects[i].VBComponents()) {
            const QString name = FromModule(c.Name());
            auto* item = new QTreeWidgetItem(top, {name + (c.Source().Changed() ? QStringLiteral(" *") : QString())});
            item->setData(0, Qt::UserRole, name);
            item->setToolTip(0, FromUtf8(c.FileNames(1).string()));
        }
        top->setExpanded(true);
    }
}

void MainWindow::SetActiveProject(int index) {
    if (index < 0 || static_cast<size_t>(index) >= workspace_.Projects().size()) return;
    if (&workspace_.Projects()[static_cast<size_t>(index)] == ActiveVBProject()) return;
    workspace_.SetActive(static_cast<size_t>(index));
    FillExplorer();
    for (auto* sink : projectSinks_) sink->ItemActivated(*ActiveVBProject());
}

CodeWindow* MainWindow::OpenCodeWindow(const QString& name) {
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* w = qobject_cast<CodeWindow*>(tabs_->widget(i)); w && w->objectName() == name) {
            tabs_->setCurrentIndex(i);
            return w;
        }
    ide::Project* project = ActiveVBProject();
    ide::Component* component = project ? project->FindComponent(ToModule(name)) : nullptr;
    if (!component) return nullptr;
    auto* window = new CodeWindow(*component, tabs_);
    tabs_->setCurrentIndex(tabs_->addTab(window, name));
    connect(window, &CodeWindow::edited, this, [this] { RefreshCodeWindows(); });
    return window;
}

void MainWindow::ForEachCodeWindow(const std::function<void(CodeWindow&)>& act) {
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* w = qobject_cast<CodeWindow*>(tabs_->widget(i))) act(*w);
}

void MainWindow::RefreshCodeWindows() {
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* w = qobject_cast<CodeWindow*>(tabs_->widget(i))) {
            w->Reload();
            tabs_->setTabText(i, w->objectName() + (w->Component().Source().Changed() ? QStringLiteral(" *") : QString()));
        }
    for (int p = 0; p < explorer_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* top = explorer_->topLevelItem(p);
        const auto& comps = workspace_.Projects()[static_cast<size_t>(p)].VBComponents();
        for (int c = 0; c < top->childCount() && static_cast<size_t>(c) < comps.size(); ++c)
            top->child(c)->setText(0, FromModule(comps[static_cast<size_t>(c)].Name()) +
                                          (comps[static_cast<size_t>(c)].Source().Changed() ? QStringLiteral(" *") : QString()));
    }
}

QString MainWindow::ChosenComponent() const {
    if (QTreeWidgetItem* item = explorer_->currentItem(); item && item->parent()) {
        // Only the active project's components are edited by the Project menu.
        const int p = explorer_->indexOfTopLevelItem(item->parent());
        if (p >= 0 && &workspace_.Projects()[static_cast<size_t>(p)] == workspace_.ActiveVBProject())
            return item->data(0, Qt::UserRole).toString();
    }
    if (CodeWindow* w = CurrentCodeWindow()) return w->objectName();
    return {};
}

void MainWindow::ReopenCodeWindows(const std::function<void()>& change) {
    QStringList names;
    for (int i = 0; i < tabs_->count(); ++i) names << tabs_->widget(i)->objectName();
    const QString current = tabs_->currentWidget() ? tabs_->currentWidget()->objectName() : QString();
    CloseCodeWindows();
    change();
    for (const QString& n : names) OpenCodeWindow(n);
    if (!current.isEmpty()) OpenCodeWindow(current);
    FillExplorer();
    RefreshCodeWindows();
}

QString MainWindow::AddComponentFile(const QString& path) {
    ide::Project* project = ActiveVBProject();
    if (!project) return QStringLiteral("No project is open.");
    ide::Workspace loaded;
    try {
        loaded = ide::LoadWorkspace(std::filesystem::path(ToUtf8(path)));
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    }
    if (loaded.Projects().size() != 1 || loaded.Projects()[0].VBComponents().size() != 1)
        return QStringLiteral("%1 is not a module file.").arg(path);
    ide::Component& added = loaded.Projects()[0].VBComponents()[0];
    if (project->FindComponent(added.Name()))
        return QStringLiteral("A component named %1 is already in the project.").arg(FromModule(added.Name()));
    ReopenCodeWindows([&] { project->VBComponents().push_back(std::move(added)); });
    for (auto* sink : componentSinks_) sink->ItemAdded(project->VBComponents().back());
    return {};
}

QString MainWindow::RemoveComponent(const QString& name) {
    ide::Project* project = ActiveVBProject();
    ide::Component* component = project ? project->FindComponent(ToModule(name)) : nullptr;
    if (!component) return QStringLiteral("No component named %1 in the active project.").arg(name);
    // The sinks see the component while it still exists.
    for (auto* sink : componentSinks_) sink->ItemRemoved(*component);
    ReopenCodeWindows([&] {
        auto& all = project->VBComponents();
        all.erase(all.begin() + (component - all.data()));
    });
    return {};
}

QString MainWindow::RenameComponent(const QString& oldName, const QString& newName) {
    ide::Project* project = ActiveVBProject();
    ide::Component* component = project ? project->FindComponent(ToModule(oldName)) : nullptr;
    if (!component) return QStringLiteral("No component named %1 in the active project.").arg(oldName);
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{0,39}$"));
    if (!identifier.match(newName).hasMatch())
        return QStringLiteral("%1 is not a valid name: a letter, then up to 39 letters, digits or _.").arg(newName);
    if (ide::Component* other = project->FindComponent(ToModule(newName)); other && other != component)
        return QStringLiteral("A component named %1 is already in the project.").arg(newName);
    const std::string old = component->Name();
    bool wasOpen = false;
    for (int i = 0; i < tabs_->count(); ++i) wasOpen = wasOpen || tabs_->widget(i)->objectName() == oldName;
    ReopenCodeWindows([&] { component->Rename(ToModule(newName)); });
    if (wasOpen) OpenCodeWindow(newName);  // the window follows its component to the new name
    for (auto* sink : componentSinks_) sink->ItemRenamed(*component, old);
    return {};
}

QString MainWindow::ChangesOf(const QString& name) {
    ide::Project* project = ActiveVBProject();
    ide::Component* component = project ? project->FindComponent(ToModule(name)) : nullptr;
    if (!component || !component->Loaded() || !component->Source().Changed()) return {};
    const ide::SourceModule& source = component->Source();
    // The module's own bytes (Windows-1252) shown as text.
    return FromModule(text::DiffTexts(source.Original(), source.Serialize(),
                                      component->FileNames(1).filename().string())
                          .unified);
}

void MainWindow::ShowChanges() {
    const QString name = ChosenComponent();
    if (name.isEmpty()) return;
    const QString diff = ChangesOf(name);
    if (diff.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("%1 has no unsaved changes").arg(name));
        return;
    }
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Changes of %1").arg(name));
    dialog.resize(800, 500);
    auto* layout = new QVBoxLayout(&dialog);
    auto* view = new QPlainTextEdit(diff, &dialog);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

void MainWindow::CloseCodeWindows() {
    while (tabs_ && tabs_->count() > 0) delete tabs_->widget(0);
}

CodeWindow* MainWindow::CurrentCodeWindow() const { return qobject_cast<CodeWindow*>(tabs_->currentWidget()); }

bool MainWindow::Save(bool all) {
    CodeWindow* current = CurrentCodeWindow();
    if (!all && !current) return true;
    QStringList failures;
    for (auto& project : workspace_.Projects()) {
        auto changes = ide::ChangedComponents(project);
        if (!all)
            std::erase_if(changes, [&](const ide::PendingChange& c) { return c.component != &current->Component(); });
        for (const auto& f : ide::SaveChanges(changes)) failures << FromUtf8(f.message);
    }
    if (failures.isEmpty()) statusBar()->showMessage(QStringLiteral("Saved"));
    else
        QMessageBox::warning(this, QStringLiteral("VexTools IDE"),
                             QStringLiteral("Not saved:\n%1").arg(failures.join(u'\n')));
    RefreshCodeWindows();
    return failures.isEmpty();
}

bool MainWindow::MayLetChangesGo() {
    std::string files;
    for (auto& project : workspace_.Projects())
        for (const auto& change : ide::ChangedComponents(project)) files += "\n" + util::Display(change.file);
    if (files.empty()) return true;
    host::Message question;
    question.text = "Save changes to the following files?\n" + files;
    question.style = host::style::kYesNoCancel | host::style::kExclamation;
    switch (prompter_.MsgBox(question)) {
        case host::Answer::Yes: return Save(true);
        case host::Answer::No: return true;
        default: return false;
    }
}

void MainWindow::Revert() {
    CodeWindow* current = CurrentCodeWindow();
    if (!current) return;
    ide::SourceModule& source = current->Component().Source();
    if (!source.Changed()) return;
    // Back to the text as loaded, through the module's own edits (so the save rules stay the same).
    const auto original = ide::SourceModule::Parse(source.Original());
    std::vector<std::string> lines;
    for (long i = 1; i <= original->CountOfLines(); ++i) lines.push_back(original->Lines(i, 1));
    try {
        source.DeleteLines(1, source.CountOfLines());
        if (!lines.empty()) {
            std::string text;
            for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
            source.ReplaceLine(1, text);
        }
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("VexTools IDE"), FromUtf8(e.what()));
    }
    RefreshCodeWindows();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayLetChangesGo()) {
        event->ignore();
        return;
    }
    SaveDockState();
    QMainWindow::closeEvent(event);
}

void MainWindow::SaveDockState() {
    try {
        store_->SaveSetting(kRecentApp, kWindowsSection, kDockStateKey, saveState().toBase64().toStdString());
    } catch (const std::exception&) {  // as above: nothing the user made is lost
    }
}

bool MainWindow::LoadOnStartup() const {
    try {
        return store_->Find(kRecentApp, kAddInsSection, std::string(addin::kAddInProgId)).value_or("1") == "1";
    } catch (const std::exception&) {
        return true;
    }
}

void MainWindow::ApplyAddInManager(bool loaded, bool loadOnStartup) {
    try {
        store_->SaveSetting(kRecentApp, kAddInsSection, std::string(addin::kAddInProgId), loadOnStartup ? "1" : "0");
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("VexTools IDE"), FromUtf8(e.what()));
    }
    if (loaded && !connected_)
        ConnectAddIn(addin::connect_mode::kAfterStartup);
    else if (!loaded && connected_)
        DisconnectAddIn();
}

void MainWindow::ShowAddInManager() {
    AddInManager dialog(connected_, LoadOnStartup(), this);
    if (dialog.exec() == QDialog::Accepted)
        ApplyAddInManager(dialog.chkLoaded()->isChecked(), dialog.chkLoadOnStartup()->isChecked());
}

void MainWindow::ConnectAddIn(long mode) {
    if (connected_) return;
    if (!connect_) connect_ = std::make_unique<addin::Connect>(module_, services_);
    // An outside caller is not the manager's connection: the add-in finds itself not yet connected.
    connected_ = mode != addin::connect_mode::kExternal;
    connect_->OnConnection(*this, mode, *this);
    connected_ = true;
    if (mode == addin::connect_mode::kStartup || mode == addin::connect_mode::kCommandLine)
        connect_->OnStartupComplete();
}

void MainWindow::DisconnectAddIn() {
    if (!connected_ || !connect_) return;
    connect_->OnDisconnection(0);
    connected_ = false;
}

addin::CreatedToolWindow MainWindow::CreateToolWindow(addin::AddIn&, std::string_view, std::string_view caption,
                                                      std::string_view guidPosition) {
    if (!dock_) {
        dock_ = new DocVexToolsWidget(this);
        dock_->setWindowTitle(FromUtf8(caption));
        dock_->setObjectName(FromUtf8(std::string(guidPosition)));  // where the saved dock state names it
        if (!restoreDockWidget(dock_)) addDockWidget(Qt::RightDockWidgetArea, dock_);
        dock_->hide();  // a tool window starts hidden; the add-in shows it
        dock_->SetBeforeClick([this] {
            sinceReload_.invalidate();
            ForEachCodeWindow([](CodeWindow& w) { w.BeginAction(); });
        });
        dock_->SetAfterClick([this] {
            RefreshCodeWindows();
            ForEachCodeWindow([](CodeWindow& w) { w.EndAction(); });
        });
    }
    return {std::make_shared<DockWindow>(*dock_), dock_};
}

addin::AddIn& MainWindow::Addins(std::string_view progId) {
    if (progId != addin::kAddInProgId) throw errors::RuntimeError(9, "Subscript out of range");
    return *this;
}

addin::CommandBar& MainWindow::CommandBars(int index) {
    if (index == 1) return *menuBarBar_;
    if (index == 2) return *toolbarBar_;
    throw errors::RuntimeError(9, "Subscript out of range");
}

addin::Subscription MainWindow::CommandBarEvents(addin::CommandBarButton& button, std::function<void()> onClick) {
    auto* qtButton = dynamic_cast<QtCommandBarButton*>(&button);
    if (!qtButton || !qtButton->Action()) throw errors::RuntimeError(91, "Object variable or With block variable not set");
    auto connection = connect(qtButton->Action(), &QAction::triggered, this, [onClick = std::move(onClick)] { onClick(); });
    return addin::Subscription([connection] { QObject::disconnect(connection); });
}

addin::Subscription MainWindow::VBComponentsEvents(addin::ComponentEvents& sink) { return Subscribe(componentSinks_, sink); }

addin::Subscription MainWindow::VBProjectsEvents(addin::ProjectEvents& sink) { return Subscribe(projectSinks_, sink); }

void MainWindow::ClipboardSetData(const addin::Picture& picture) {
    clipboard_ = std::make_unique<addin::Picture>(picture);
    clipboardView_ = clipboard_.get();
    QApplication::clipboard()->setImage(ToImage(picture));
}

}  // namespace vex::app
