#pragma once
// The two directions of the numbering and error-handler commands.

namespace vex::engine {

/// "AddLine"/"AddError" put code in; "RemoveLine"/"RemoveError" take it out again.
enum class EditMode { Add, Remove };

}  // namespace vex::engine
