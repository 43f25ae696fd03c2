#include "addin/layout.h"

namespace vex::addin {

std::optional<Rect> ToolWindowListRect(long innerWidth, long innerHeight, long toolbarHeight) {
    const long height = innerHeight - 300 - toolbarHeight;
    if (height < 0 || innerWidth < 0) return std::nullopt;
    return Rect{0, toolbarHeight, innerWidth, height};
}

std::optional<Rect> ResultTextRect(long innerWidth, long innerHeight) {
    const long height = innerHeight - 400;
    if (height < 0 || innerWidth < 0) return std::nullopt;
    return Rect{0, 0, innerWidth, height};
}

}  // namespace vex::addin
