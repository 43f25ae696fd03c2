#pragma once
// AddCodeError: gives every procedure of the selected components an error handler built from the start
// and end templates, each block framed by two separator lines.

namespace vex::engine {

struct Host;
class FileList;
class ResultWindow;

/// Inserts the handlers and appends the run's log to `host.result`; at the end shows `window` when the
/// option ViewResult is on. Errors are reported as "modEtude // AddCodeError"; Abort leaves at once,
/// keeping the blocks already inserted.
///
/// A procedure is treated when none of its lines from the declaration down holds ErrorKey or NoErrorKey
/// (any case), its declaration names Sub, Function or Property, and its own End statement stands on a
/// line below the declaration: it then gets the start block after its declaration (after the last line
/// of a continued one) and the end block before that End line, never one without the other.
void AddCodeError(Host& host, FileList& lst, ResultWindow& window);

}  // namespace vex::engine
