#pragma once
// vextools-ide's main window: the IDE the add-in connects to. Projects in an explorer, a code window per
// component, the menu bar and standard toolbar as command bars 1 and 2, and the add-in's object model.

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <list>
#include <memory>

#include "addin/connect.h"
#include "addin/ide_model.h"
#include "addin/services.h"
#include "app/command_bars.h"
#include "app/doc_vextools.h"
#include "app/form_result.h"
#include "app/qt_dialogs.h"
#include "app/qt_services.h"
#include "backup/copy_service.h"
#include "errorlog/gest_erreur.h"
#include "host/notices.h"
#include "ide/project.h"
#include "settings/ini_settings_store.h"

class QTabWidget;
class QToolBar;
class QTreeWidget;

namespace vex::app {

class CodeWindow;

class MainWindow : public QMainWindow, public addin::Vbe, public addin::AddIn {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    /// Opens a .vbp, .vbg or module file; a failure is shown in a message box and returns false.
    bool OpenPath(const QString& path);
    /// Loads the add-in in connection `mode`; modes 1 and 3 are followed by start-up complete.
    void ConnectAddIn(long mode);
    void DisconnectAddIn();
    /// "Load on Startup" of the Add-In Manager, stored per user (on unless switched off).
    bool LoadOnStartup() const;
    /// Applies the Add-In Manager's choice: loading connects in mode 0, unloading disconnects.
    void ApplyAddInManager(bool loaded, bool loadOnStartup);

    // addin::Vbe
    ide::Project* ActiveVBProject() override { return workspace_.ActiveVBProject(); }
    addin::CreatedToolWindow CreateToolWindow(addin::AddIn& addIn, std::string_view progId, std::string_view caption,
                                              std::string_view guidPosition) override;
    addin::AddIn& Addins(std::string_view progId) override;
    addin::AddIn& FirstAddin() override { return *this; }
    addin::CommandBar& CommandBars(int index) override;
    addin::Subscription CommandBarEvents(addin::CommandBarButton& button, std::function<void()> onClick) override;
    addin::Subscription VBComponentsEvents(addin::ComponentEvents& sink) override;
    addin::Subscription VBProjectsEvents(addin::ProjectEvents& sink) override;
    void ClipboardSetData(const addin::Picture& picture) override;
    // addin::AddIn
    std::string ProgId() const override { return std::string(addin::kAddInProgId); }
    bool Connect() const override { return connected_; }

    DocVexToolsWidget* Dock() const { return dock_; }
    FormResult& Result() { return result_; }
    QtDialogs& Dialogs() { return dialogs_; }
    addin::DocVexTools* Document() const { return module_.objDocVexTools.get(); }
    addin::Connect* AddInConnect() const { return connect_.get(); }
    QToolBar* StandardToolbar() const { return toolbar_; }
    /// The code window of a component, opened when needed (null when no such component is active).
    CodeWindow* OpenCodeWindow(const QString& component);
    ide::Workspace& Workspace() { return workspace_; }
    /// Makes project `index` the active one and raises the project event.
    void SetActiveProject(int index);
    /// Shows the modules' current text in every code window and the modified marks.
    void RefreshCodeWindows();
    void ForEachCodeWindow(const std::function<void(CodeWindow&)>& act);

    // The Project menu's edits of the active project; each raises the matching component event and
    // returns an empty string, or why it refused. The .vbp file itself is not rewritten.
    /// Adds the module file at `path` (.bas, .cls, .frm, ...) as a component.
    QString AddComponentFile(const QString& path);
    /// Removes the component from the project; its file stays on disk.
    QString RemoveComponent(const QString& name);
    /// Renames the component and its `Attribute VB_Name` (saved with the module).
    QString RenameComponent(const QString& oldName, const QString& newName);

    /// The unsaved changes of a component of the active project as a unified diff against its file as
    /// loaded; empty when it has none (or no such component exists).
    QString ChangesOf(const QString& component);

private:
    void BuildMenus();
    void ShowAddInManager();
    void ShowChanges();
    /// Dock positions by window position identifier, kept per user in the settings store.
    void SaveDockState();
    void closeEvent(QCloseEvent* event) override;
    void FillExplorer();
    void CloseCodeWindows();
    CodeWindow* CurrentCodeWindow() const;
    /// Saves the current code window's component, or every changed one; false when one was not saved
    /// (the user has been told why).
    bool Save(bool all);
    /// Before the loaded projects go (closing the window, opening another): asks whether to save what
    /// changed. False when the user cancels, or a save failed, and the projects must stay.
    bool MayLetChangesGo();
    void Revert();
    void OpenDialog();
    void AddRecent(const QString& path);
    void FillRecent();
    /// The component chosen in the explorer, else the one of the current code window; empty when none.
    QString ChosenComponent() const;
    /// Runs `change`, which may move the active project's components in memory: the code windows are closed
    /// before and reopened by name after (those whose component is gone stay closed).
    void ReopenCodeWindows(const std::function<void()>& change);

    std::unique_ptr<settings::IniSettingsStore> store_;
    host::SystemClock clock_;
    QtPrompter prompter_;
    QtScreen screen_;
    QElapsedTimer sinceReload_;  ///< since the code window in front last showed an action's progress
    qint64 reloadPauseMs_ = 0;
    host::NullNotices notices_;
    std::unique_ptr<errors::GestErreur> report_;
    backup::FileSystemCopyService copier_;
    FormResult result_;
    QtDialogs dialogs_;
    addin::Services services_;

    ide::Workspace workspace_;
    QTreeWidget* explorer_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    DocVexToolsWidget* dock_ = nullptr;
    std::unique_ptr<QtCommandBar> menuBarBar_;
    std::unique_ptr<QtCommandBar> toolbarBar_;
    std::unique_ptr<addin::Picture> clipboard_;
    const addin::Picture* clipboardView_ = nullptr;
    std::list<addin::ComponentEvents*> componentSinks_;
    std::list<addin::ProjectEvents*> projectSinks_;
    addin::AddInModule module_;
    std::unique_ptr<addin::Connect> connect_;
    bool connected_ = false;
};

}  // namespace vex::app
