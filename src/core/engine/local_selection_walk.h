#pragma once
// The selection walk over the active project's components, for the error-handler passes.

#include <cstdint>
#include <functional>

namespace vex::ide {
class Component;
}
namespace vex::errors {
class Trap;
}

namespace vex::engine {

struct Host;
class FileList;

/// Walks the active project's components in IDE order: the project bar counts every component, the
/// first row whose text equals the component's name (exactly) decides, components without a row or whose
/// row is not selected are passed over, and each selected one becomes the current row and goes to `work`.
/// The walk's own steps run under `trap`. Returns false when the pass must end: an Abort answer, or
/// `work` returning false.
bool LocalSelectionWalk(Host& host, FileList& lst, errors::Trap& trap,
                        const std::function<bool(ide::Component&, int16_t row)>& work);

}  // namespace vex::engine
