#include "engine/selection_walk.h"

#include "errors/runtime_error.h"
#include "ide/project.h"

namespace vex::engine {

int16_t FindRow(Host& host, const FileList& lst, const std::string& name) {
    const int16_t count = lst.ListCount();
    for (int16_t i = 0; i < count; ++i) {
        host.screen.SetPointer(Pointer::Hourglass);
        host.screen.DoEvents();
        if (lst.List(i) == name) return i;
    }
    return -1;
}

bool WalkSelection(Host& host, FileList& lst, const ProcessComponent& process, ProjectBarStep step) {
    if (!host.activeProject) throw errors::RuntimeError(91, "Object variable or With block variable not set");
    auto& components = host.activeProject->VBComponents();
    const size_t total = components.size();
    host.percentProject.SetMax(static_cast<long>(total));
    host.percentProject.SetValue(0);
    for (size_t k = 0; k < total; ++k) {
        ide::Component& component = components[k];
        if (step == ProjectBarStep::BeforeComponent) host.percentProject.SetValue(host.percentProject.Value() + 1);
        const int16_t row = FindRow(host, lst, component.Name());
        if (row >= 0 && lst.Selected(row)) {
            lst.SetListIndex(row);
            if (!process(component, row)) return false;
            if (host.componentDone) host.componentDone(component);
        }
        if (step == ProjectBarStep::AfterComponent) host.percentProject.SetValue(host.percentProject.Value() + 1);
    }
    return true;
}

}  // namespace vex::engine
