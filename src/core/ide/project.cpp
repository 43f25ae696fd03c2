#include "ide/project.h"

namespace vex::ide {

Component* Project::FindComponent(std::string_view name) {
    for (auto& c : components_)
        if (c.Name() == name) return &c;
    return nullptr;
}

}  // namespace vex::ide
