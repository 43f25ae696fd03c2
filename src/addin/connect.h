#pragma once
// Connect: how the IDE loads the add-in. It creates the tool window, puts the "vexTools" button on the
// standard toolbar, forwards component and project events to the window, and remembers at disconnection
// whether the window was shown.

#include <memory>
#include <string_view>

#include "addin/doc_vex_tools.h"
#include "addin/ide_model.h"
#include "addin/services.h"

namespace vex::addin {

inline constexpr std::string_view kAddInProgId = "VexTools.Connect";
inline constexpr std::string_view kDocumentProgId = "VexTools.docVexTools";
inline constexpr std::string_view kToolWindowCaption = "vexTools";
/// The identity under which the IDE remembers the tool window's dock position; never changes.
inline constexpr std::string_view kGuidPosition = "{B7AFC8D0-EBE5-11cf-A497-00A0C911E8B0}";
inline constexpr int kCommandBar = 2;
inline constexpr std::string_view kButtonCaption = "vexTools";
/// "1" when the tool window was shown at the last disconnection; only exactly "1" shows it.
inline constexpr std::string_view kDisplayKey = "DisplayVexToolsOnConnect";

/// ConnectMode of OnConnection (ext_ConnectMode).
namespace connect_mode {
inline constexpr long kAfterStartup = 0;  ///< loaded once the IDE runs (the add-in manager)
inline constexpr long kStartup = 1;       ///< loaded while the IDE starts
inline constexpr long kExternal = 2;      ///< connected by an outside caller
inline constexpr long kCommandLine = 3;   ///< named on the IDE's command line
}  // namespace connect_mode

/// What lives as long as the add-in is loaded, whichever Connect object runs (VB's module variables).
struct AddInModule {
    Vbe* VBInst = nullptr;
    std::shared_ptr<Window> objToolWindow;         ///< null: no tool window exists
    std::shared_ptr<DocVexTools> objDocVexTools;   ///< the window's logic; kept across disconnections
};

class Connect : public ComponentEvents, public ProjectEvents {
public:
    Connect(AddInModule& module, Services& services);

    /// IDTExtensibility_OnConnection. Any failure shows its description in a message box and ends the call.
    void OnConnection(Vbe& vbInst, long connectMode, AddIn& addInInst);
    /// IDTExtensibility_OnDisconnection: deletes the button, stores the display preference, drops the
    /// window. A failure ends it silently (so after a connection without button nothing is stored).
    void OnDisconnection(long removeMode);
    /// IDTExtensibility_OnStartupComplete: the button and the subscriptions of modes 1 and 3.
    void OnStartupComplete();
    /// IDTExtensibility_OnAddInsUpdate: nothing.
    void OnAddInsUpdate();
    /// The button's click: shows the window and reloads its list (never hides it).
    void MenuHandler_Click();

    void ItemAdded(const ide::Component& component) override;
    void ItemRemoved(const ide::Component& component) override;
    void ItemRenamed(const ide::Component& component, std::string_view oldName) override;
    void ItemActivated(const ide::Project& project) override;
    void ItemRenamed(const ide::Project& project, std::string_view oldName) override;

    /// The button on command bar 2; null before the first AddToCommandBar.
    CommandBarButton* MenuButton() const { return objMenuButton_.get(); }

private:
    void Show();
    void AddToCommandBar();
    void CreateToolWindowFor(AddIn& addIn);
    /// Runs `step` under the error report with the tag "Connect // " + `procedure`.
    void Trapped(std::string_view procedure, const std::function<void()>& step);
    /// A failure of OnConnection, Show or AddToCommandBar: its description in a message box.
    void ShowFailure(const std::exception& e);
    DocVexTools& Document();

    AddInModule& module_;
    Services& services_;
    std::shared_ptr<CommandBarButton> objMenuButton_;
    Subscription menuHandler_;
    Subscription changeComponent_;
    Subscription changeProject_;
};

}  // namespace vex::addin
