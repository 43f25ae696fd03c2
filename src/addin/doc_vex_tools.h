#pragma once
// docVexTools: the tool window's logic. The toolbar's commands, the busy guard and the list maintenance
// that the add-in connection calls on the IDE's component and project events.

#include <memory>
#include <string>
#include <string_view>

#include "addin/ide_model.h"
#include "addin/services.h"
#include "addin/views.h"
#include "engine/host.h"

namespace vex::addin {

/// The toolbar's button keys, left to right (separators have none).
namespace key {
inline constexpr std::string_view kSelectAll = "SelectAll";
inline constexpr std::string_view kUnselectAll = "Unselect All";
inline constexpr std::string_view kAddLine = "AddLine";
inline constexpr std::string_view kRemoveLine = "RemoveLine";
inline constexpr std::string_view kAddError = "AddError";
inline constexpr std::string_view kRemoveError = "RemoveError";
inline constexpr std::string_view kTabulation = "Tabulation";
inline constexpr std::string_view kDeleteKey = "DeleteKey";
inline constexpr std::string_view kBackup = "Backup";
inline constexpr std::string_view kOption = "Option";
}  // namespace key

/// The refusal shown for any click while a command runs.
inline constexpr std::string_view kBusyMessage = "Une action est déjà en cours...";

/// The "DeleteKey" input box.
inline constexpr std::string_view kDeleteKeyPrompt = "Keyword to delete :";
inline constexpr std::string_view kDeleteKeyTitle = "vexTools";
inline constexpr std::string_view kDeleteKeyDefault = "Debug.Print";

class DocVexTools : public ToolbarEvents {
public:
    /// UserDocument_Initialize: takes the progress bars and fills the list from the active project, all
    /// rows selected. Toolbar clicks of `view` come here from now on. `window` is kept so that the
    /// widgets live as long as this object.
    DocVexTools(Vbe& vbInst, std::shared_ptr<Window> window, ToolWindowView& view, Services& services);
    /// UserDocument_Terminate: toolbar clicks stop reaching this object.
    ~DocVexTools() override;
    DocVexTools(const DocVexTools&) = delete;
    DocVexTools& operator=(const DocVexTools&) = delete;

    /// True exactly while a toolbar command's engine call runs; a click meanwhile is refused.
    bool blnActionEnCours = false;

    /// The dispatch: runs the command of the button whose key is `key` (exact, case-sensitive; other
    /// keys do nothing). Errors are reported as "docVexTools // Toolbar1_ButtonClick"; Abort leaves the
    /// button unpressed and the window ready for the next command.
    void Toolbar1_ButtonClick(std::string_view key) override;

    /// Adds a selected row holding `strName`; the other rows keep their selection.
    void AddFile(const std::string& strName);
    /// Removes the first row whose text is exactly `strName`; nothing when there is none.
    void RemoveFile(const std::string& strName);
    /// Sets the text of the first row whose text is exactly `strOldName`, keeping its place and selection.
    void RenameFile(const std::string& strOldName, const std::string& strNewName);
    /// Reloads the list from the active project; every row ends up selected.
    void RefreshList();

    ToolWindowView& View() { return view_; }

private:
    /// The engine's view of the world for one call: the project active now, this window's bars.
    engine::Host EngineHost();
    /// blnActionEnCours set and the button pressed around `call`.
    void BusySequence(std::string_view key, const std::function<void(engine::Host&, engine::FileList&)>& call);
    void DeleteKey();
    void Backup();

    Vbe& vbInst_;
    std::shared_ptr<Window> window_;
    ToolWindowView& view_;
    Services& services_;
};

}  // namespace vex::addin
