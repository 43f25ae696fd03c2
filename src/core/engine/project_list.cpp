#include "engine/project_list.h"

#include <string>

#include "host/prompter.h"
#include "errors/runtime_error.h"
#include "ide/project.h"

namespace vex::engine {

namespace {

// The bulk selection commands answer a failure with a plain message box of their own.
template <typename Step>
void WithMessageBox(Host& host, const char* procedure, Step step) {
    try {
        step();
    } catch (const errors::RuntimeError& e) {
        host.prompter.MsgBox({"Erreur N° " + std::to_string(e.Number()) + "\r" + e.Description(), procedure,
                              host::style::kCritical | host::style::kOkOnly});
    } catch (const std::exception& e) {
        host.prompter.MsgBox({"Erreur N° " + std::to_string(errors::code::kInternal) + "\r" + e.what(), procedure,
                              host::style::kCritical | host::style::kOkOnly});
    }
}

void SetAll(FileList& lst, bool selected) {
    for (int16_t i = 0; i < lst.ListCount(); ++i) lst.SetSelected(i, selected);
}

}  // namespace

void LoadProjectFile(Host& host, FileList& lst) {
    host.screen.SetPointer(Pointer::Hourglass);
    try {
        if (!host.activeProject)
            throw errors::RuntimeError(91, "Object variable or With block variable not set");
        lst.Clear();
        for (const auto& component : host.activeProject->VBComponents()) {
            if (component.Name().empty()) continue;
            if (lst.ListCount() == INT16_MAX) throw errors::Overflow();
            lst.AddItem(component.Name());
        }
    } catch (const std::exception&) {
        // The list shows nothing until the next load; the user sees an empty list, not a message.
        lst.Clear();
        host.screen.SetPointer(Pointer::Default);
        return;
    }
    SelectAllList(host, lst);
    host.screen.SetPointer(Pointer::Default);
}

void SelectAllList(Host& host, FileList& lst) {
    WithMessageBox(host, "SelectAllList", [&] { SetAll(lst, true); });
}

void UnSelectAllList(Host& host, FileList& lst) {
    WithMessageBox(host, "UnSelectAllList", [&] { SetAll(lst, false); });
}

bool FileIsClean() { return true; }

}  // namespace vex::engine
