#pragma once
// RemoveCodeError: takes out of the selected components every section framed by separator lines.

namespace vex::engine {

struct Host;
class FileList;
class ResultWindow;

/// Deletes, inside each procedure of the selected components, every line that holds ErrorKey exactly
/// (same case) and every line between such a line and its partner (they pair in order: first opens,
/// second closes), and appends the run's log to `host.result`; at the end shows `window` when the option
/// ViewResult is on. Errors are reported as "modEtude // RemoveCodeError"; Abort leaves at once.
///
/// The procedure's own End line and what follows it are never touched, a separator line without a
/// partner further down is deleted without opening a section, and an empty ErrorKey marks no line, so
/// that no user code is taken out with a section.
void RemoveCodeError(Host& host, FileList& lst, ResultWindow& window);

}  // namespace vex::engine
