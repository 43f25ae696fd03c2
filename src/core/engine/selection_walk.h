#pragma once
// The selection walk every code pass starts with: visit the active project's components in project
// order, find each one's row in the list by its exact text, and process those whose row is selected.

#include <cstdint>
#include <functional>

#include "engine/file_list.h"
#include "engine/host.h"

namespace vex::ide {
class Component;
}

namespace vex::engine {

/// When the project bar moves for a component: before it is looked up (most passes) or after it was
/// visited (the indentation pass).
enum class ProjectBarStep { BeforeComponent, AfterComponent };

/// Called for each selected component with its row (already made the list's current row). Returns
/// false to end the walk at once (the pass was aborted).
using ProcessComponent = std::function<bool(ide::Component& component, int16_t row)>;

/// Walks `host.activeProject`'s components (the collection is taken once): sets `percentProject`'s
/// maximum to their number and its value to 0, then for each component moves the bar by one (before or
/// after, per `step`), scans the rows from 0 (reading ListCount afresh; hourglass and one yield per row
/// examined) for the first whose text equals the component's name exactly, and when that row is
/// selected sets ListIndex to it and calls `process`, then `host.componentDone`. Components without a
/// row or with an unselected row are passed over. Leaves `percentProject` at the number of components.
/// Returns false when `process` ended the walk. Raises error 91 when there is no active project; errors
/// from `process` propagate to the pass.
bool WalkSelection(Host& host, FileList& lst, const ProcessComponent& process,
                   ProjectBarStep step = ProjectBarStep::BeforeComponent);

/// The row of the first list entry whose text equals `name` exactly, or -1. One yield per row examined.
int16_t FindRow(Host& host, const FileList& lst, const std::string& name);

}  // namespace vex::engine
