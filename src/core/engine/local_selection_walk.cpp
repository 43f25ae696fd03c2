#include "engine/local_selection_walk.h"

#include "engine/file_list.h"
#include "engine/host.h"
#include "errors/trap.h"
#include "ide/project.h"

namespace vex::engine {

bool LocalSelectionWalk(Host& host, FileList& lst, errors::Trap& trap,
                        const std::function<bool(ide::Component&, int16_t row)>& work) {
    std::vector<ide::Component>* components = nullptr;
    if (!trap.Run([&] {
            if (!host.activeProject) throw errors::RuntimeError(91, "Object variable or With block variable not set");
            components = &host.activeProject->VBComponents();
            host.percentProject.SetMax(static_cast<long>(components->size()));
            host.percentProject.SetValue(0);
        }))
        return false;
    if (!components) return true;  // no project: nothing to walk

    for (ide::Component& component : *components) {
        int16_t row = -1;
        bool selected = false;
        if (!trap.Run([&] {
                row = -1;
                selected = false;
                host.percentProject.SetValue(host.percentProject.Value() + 1);
                for (int16_t i = 0; i < lst.ListCount(); ++i) {
                    host.screen.SetPointer(Pointer::Hourglass);
                    host.screen.DoEvents();
                    if (component.Name() == lst.List(i)) {
                        row = i;
                        selected = lst.Selected(i);
                        break;
                    }
                }
                if (row >= 0 && selected) lst.SetListIndex(row);
            }))
            return false;
        if (row < 0 || !selected) continue;
        if (!work(component, row)) return false;
    }
    return true;
}

}  // namespace vex::engine
