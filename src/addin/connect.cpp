#include "addin/connect.h"

#include "errors/runtime_error.h"
#include "errors/trap.h"
#include "host/prompter.h"
#include "ide/component.h"
#include "settings/settings_store.h"

namespace vex::addin {

namespace {

/// VB's "Object variable or With block variable not set".
constexpr int kObjectNotSet = 91;

errors::RuntimeError NotSet(std::string_view what) {
    return errors::RuntimeError(kObjectNotSet, "Object variable or With block variable not set (" +
                                                   std::string(what) + ")");
}

}  // namespace

Connect::Connect(AddInModule& module, Services& services) : module_(module), services_(services) {}

void Connect::ShowFailure(const std::exception& e) {
    const auto* runtime = dynamic_cast<const errors::RuntimeError*>(&e);
    services_.prompter.MsgBox({runtime ? runtime->Description() : std::string(e.what()), "", host::style::kOkOnly});
}

void Connect::Trapped(std::string_view procedure, const std::function<void()>& step) {
    errors::Trap trap(services_.report, "Connect // " + std::string(procedure));
    (void)trap.Run(step);
}

DocVexTools& Connect::Document() {
    if (!module_.objDocVexTools) throw NotSet("objDocVexTools");
    return *module_.objDocVexTools;
}

void Connect::OnConnection(Vbe& vbInst, long connectMode, AddIn& addInInst) {
    try {
        module_.VBInst = &vbInst;
        if (module_.objToolWindow) {
            Show();
            if (connectMode == connect_mode::kAfterStartup) AddToCommandBar();
            return;
        }
        if (connectMode == connect_mode::kExternal) {
            AddIn* found = nullptr;
            try {
                found = &vbInst.Addins(kAddInProgId);
            } catch (const std::exception&) {  // the one lookup whose failure is expected
            }
            if (!found)
                CreateToolWindowFor(vbInst.FirstAddin());
            else if (!found->Connect())
                CreateToolWindowFor(*found);
        } else {
            CreateToolWindowFor(addInInst);
        }
        if (connectMode == connect_mode::kExternal)
            Show();
        else if (connectMode == connect_mode::kAfterStartup)
            AddToCommandBar();
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void Connect::CreateToolWindowFor(AddIn& addIn) {
    CreatedToolWindow created =
        module_.VBInst->CreateToolWindow(addIn, kDocumentProgId, kToolWindowCaption, kGuidPosition);
    if (!created.window || !created.document) throw NotSet("CreateToolWindow");
    module_.objToolWindow = created.window;
    // The IDE's instantiation of the document: its start-up fills the list.
    module_.objDocVexTools =
        std::make_shared<DocVexTools>(*module_.VBInst, created.window, *created.document, services_);
}

void Connect::Show() {
    try {
        if (!module_.objToolWindow) throw NotSet("objToolWindow");
        module_.objToolWindow->SetVisible(true);
        Document().RefreshList();
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void Connect::AddToCommandBar() {
    try {
        CommandBar& bar = module_.VBInst->CommandBars(kCommandBar);
        bar.SetVisible(true);
        const long n = bar.ControlsCount();
        objMenuButton_ = bar.AddButton(n);
        if (!objMenuButton_) throw NotSet("Controls.Add");
        objMenuButton_->SetCaption(kButtonCaption);
        module_.VBInst->ClipboardSetData(services_.dialogs.ButtonFace());
        objMenuButton_->PasteFace();
        menuHandler_ = module_.VBInst->CommandBarEvents(*objMenuButton_, [this] { MenuHandler_Click(); });
        changeComponent_ = module_.VBInst->VBComponentsEvents(*this);
        changeProject_ = module_.VBInst->VBProjectsEvents(*this);
        if (services_.store.Get(kDisplayKey, "0") == "1") Show();
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void Connect::OnDisconnection(long /*removeMode*/) {
    try {
        if (!objMenuButton_) throw NotSet("objMenuButton");
        objMenuButton_->Delete();
        if (!module_.objToolWindow) throw NotSet("objToolWindow");
        services_.store.Save(kDisplayKey, module_.objToolWindow->Visible() ? "1" : "0");
        module_.objToolWindow.reset();
    } catch (const std::exception&) {  // disconnection ends quietly on any failure
    }
}

void Connect::OnStartupComplete() {
    Trapped("IDTExtensibility_OnStartupComplete", [this] { AddToCommandBar(); });
}

void Connect::OnAddInsUpdate() {}

void Connect::MenuHandler_Click() {
    Trapped("MenuHandler_Click", [this] { Show(); });
}

void Connect::ItemAdded(const ide::Component& component) {
    Trapped("ChangeComponent_ItemAdded", [&] { Document().AddFile(component.Name()); });
}

void Connect::ItemRemoved(const ide::Component& component) {
    Trapped("ChangeComponent_ItemRemoved", [&] { Document().RemoveFile(component.Name()); });
}

void Connect::ItemRenamed(const ide::Component& component, std::string_view oldName) {
    Trapped("ChangeComponent_ItemRenamed", [&] { Document().RenameFile(std::string(oldName), component.Name()); });
}

void Connect::ItemActivated(const ide::Project&) {
    Trapped("ChangeProject_ItemActivated", [&] { Document().RefreshList(); });
}

void Connect::ItemRenamed(const ide::Project&, std::string_view) {
    Trapped("ChangeProject_ItemRenamed", [&] { Document().RefreshList(); });
}

}  // namespace vex::addin
