#pragma once
// StudyTabulation: re-indents the procedures of the selected components.

namespace vex::engine {

struct Host;
class FileList;

/// Lays out every line below each procedure's declaration from the keyword table: the body from TabStart
/// blanks, each block Tabulation blanks deeper, End Sub/Function/Property at column 0, code framed by
/// ErrorKey separator lines from column 0. A line number stays in front, followed by one blank. Blank
/// lines, the declarations section, declaration lines and the lines above them are left as they are.
/// Writes nothing to the result log. Errors (a setting that does not convert, a failing host operation,
/// a level out of the 16-bit range or below 0) are reported as "modEtude // StudyTabulation".
void StudyTabulation(Host& host, FileList& lst);

}  // namespace vex::engine
