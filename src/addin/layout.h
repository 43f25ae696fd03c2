#pragma once
// Where the windows place their main controls when resized. Lengths in twips (1/1440 inch).

#include <optional>

namespace vex::addin {

struct Rect {
    long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

/// docVexTools: the list below the toolbar, full width, 300 kept for the two progress bars. Nothing
/// (the list keeps its place) when the window is lower than the toolbar plus 300.
std::optional<Rect> ToolWindowListRect(long innerWidth, long innerHeight, long toolbarHeight);

/// frmResult: the text box over the whole window but 400 at the bottom (the 300 button strip and a gap).
/// Nothing (the box keeps its last size) when the window is lower than 400.
std::optional<Rect> ResultTextRect(long innerWidth, long innerHeight);

/// frmResult: the left of "&Close", kept against the strip's right edge.
inline long ResultCloseLeft(long stripInnerWidth, long closeWidth) { return stripInnerWidth - closeWidth; }

}  // namespace vex::addin
