#include "addin/doc_vex_tools.h"

#include "backup/backup.h"
#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "engine/project_list.h"
#include "engine/study_manage_error.h"
#include "engine/study_tabulation.h"
#include "errors/trap.h"
#include "host/prompter.h"
#include "text/cp1252.h"

namespace vex::addin {

namespace {

constexpr std::string_view kTag = "docVexTools // ";

std::string Tag(std::string_view procedure) { return std::string(kTag) + std::string(procedure); }

/// The first row whose text is exactly `text`, or -1.
int16_t FindRow(const engine::FileList& lst, const std::string& text) {
    for (int16_t row = 0; row < lst.ListCount(); ++row)
        if (lst.List(row) == text) return row;
    return -1;
}

}  // namespace

DocVexTools::DocVexTools(Vbe& vbInst, std::shared_ptr<Window> window, ToolWindowView& view, Services& services)
    : vbInst_(vbInst), window_(std::move(window)), view_(view), services_(services) {
    errors::Trap trap(services_.report, Tag("UserDocument_Initialize"));
    (void)trap.Run([&] {
        engine::Host host = EngineHost();
        engine::LoadProjectFile(host, view_.lstFileProject());
    });
    view_.SetEvents(this);
}

DocVexTools::~DocVexTools() { view_.SetEvents(nullptr); }

engine::Host DocVexTools::EngineHost() {
    return engine::Host{vbInst_.ActiveVBProject(), view_.PercentProject(), view_.PercentFile(), services_.screen,
                        services_.result,          services_.store,        services_.report,  services_.prompter,
                        services_.notices,         services_.clock};
}

void DocVexTools::Toolbar1_ButtonClick(std::string_view key) {
    if (blnActionEnCours) {
        services_.prompter.MsgBox(
            {std::string(kBusyMessage), "", host::style::kOkOnly + host::style::kExclamation});
        return;
    }
    using engine::EditMode;
    auto lineNumbers = [](EditMode mode) {
        return [mode](engine::Host& h, engine::FileList& l) { engine::StudyLineNumber(h, l, mode); };
    };
    auto handlers = [this](EditMode mode) {
        return [this, mode](engine::Host& h, engine::FileList& l) {
            engine::StudyManageError(h, l, mode, services_.result);
        };
    };
    if (key == key::kSelectAll || key == key::kUnselectAll) {
        errors::Trap trap(services_.report, Tag("Toolbar1_ButtonClick"));
        (void)trap.Run([&] {
            engine::Host host = EngineHost();
            if (key == key::kSelectAll)
                engine::SelectAllList(host, view_.lstFileProject());
            else
                engine::UnSelectAllList(host, view_.lstFileProject());
        });
    } else if (key == key::kAddLine || key == key::kRemoveLine) {
        if (engine::FileIsClean()) BusySequence(key, lineNumbers(key == key::kAddLine ? EditMode::Add : EditMode::Remove));
    } else if (key == key::kAddError || key == key::kRemoveError) {
        if (engine::FileIsClean()) BusySequence(key, handlers(key == key::kAddError ? EditMode::Add : EditMode::Remove));
    } else if (key == key::kTabulation) {
        BusySequence(key, [](engine::Host& h, engine::FileList& l) { engine::StudyTabulation(h, l); });
    } else if (key == key::kDeleteKey) {
        DeleteKey();
    } else if (key == key::kBackup) {
        Backup();
    } else if (key == key::kOption) {
        errors::Trap trap(services_.report, Tag("Toolbar1_ButtonClick"));
        (void)trap.Run([&] { services_.dialogs.ShowOptions(); });
    }
}

void DocVexTools::DeleteKey() {
    errors::Trap trap(services_.report, Tag("Toolbar1_ButtonClick"));
    std::string answer;
    if (!trap.Run([&] { answer = services_.dialogs.InputBox(kDeleteKeyPrompt, kDeleteKeyTitle, kDeleteKeyDefault); }))
        return;
    if (answer.empty()) return;
    // The code is Windows-1252: a keyword it cannot hold would be looked for with "?" in its place and
    // delete lines the user never named.
    bool lossy = false;
    const std::string keyword = text::FromUtf8(answer, &lossy);
    if (lossy) {
        services_.prompter.MsgBox({"The keyword \"" + answer + "\" holds characters that Windows-1252 code cannot hold.",
                                   "", host::style::kOkOnly + host::style::kExclamation});
        return;
    }
    BusySequence(key::kDeleteKey,
                 [&keyword](engine::Host& h, engine::FileList& l) { engine::StudyRemoveCode(h, l, keyword); });
}

void DocVexTools::Backup() {
    errors::Trap trap(services_.report, Tag("Toolbar1_ButtonClick"));
    std::string directory;
    if (!trap.Run([&] { directory = services_.dialogs.GetBackupDirectory(); })) return;
    if (directory.empty()) return;
    BusySequence(key::kBackup, [this, &directory](engine::Host& h, engine::FileList& l) {
        (void)backup::CreateBackUp(h, directory, l, services_.copier);
    });
}

void DocVexTools::BusySequence(std::string_view key,
                               const std::function<void(engine::Host&, engine::FileList&)>& call) {
    errors::Trap trap(services_.report, Tag("Toolbar1_ButtonClick"));
    const bool done = trap.Run([&] { blnActionEnCours = true; }) &&
                      trap.Run([&] { view_.SetButtonPressed(key, true); }) && trap.Run([&] {
                          engine::Host host = EngineHost();
                          call(host, view_.lstFileProject());
                      }) &&
                      trap.Run([&] { view_.SetButtonPressed(key, false); }) &&
                      trap.Run([&] { blnActionEnCours = false; });
    if (done) return;
    // Abort: the window must take commands again.
    try {
        view_.SetButtonPressed(key, false);
    } catch (const std::exception&) {  // the flag below matters more than the button's look
    }
    blnActionEnCours = false;
}

void DocVexTools::AddFile(const std::string& strName) {
    errors::Trap trap(services_.report, Tag("AddFile"));
    ProjectListView& lst = view_.lstFileProject();
    if (!trap.Run([&] { lst.AddItem(strName); })) return;
    (void)trap.Run([&] { lst.SetSelected(static_cast<int16_t>(lst.ListCount() - 1), true); });
}

void DocVexTools::RemoveFile(const std::string& strName) {
    errors::Trap trap(services_.report, Tag("RemoveFile"));
    (void)trap.Run([&] {
        ProjectListView& lst = view_.lstFileProject();
        if (const int16_t row = FindRow(lst, strName); row >= 0) lst.RemoveItem(row);
    });
}

void DocVexTools::RenameFile(const std::string& strOldName, const std::string& strNewName) {
    errors::Trap trap(services_.report, Tag("RenameFile"));
    (void)trap.Run([&] {
        ProjectListView& lst = view_.lstFileProject();
        if (const int16_t row = FindRow(lst, strOldName); row >= 0) lst.SetList(row, strNewName);
    });
}

void DocVexTools::RefreshList() {
    errors::Trap trap(services_.report, Tag("RefreshList"));
    (void)trap.Run([&] {
        engine::Host host = EngineHost();
        engine::LoadProjectFile(host, view_.lstFileProject());
    });
}

}  // namespace vex::addin
