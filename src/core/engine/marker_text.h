#pragma once
// How code lines are tested for the marker texts (ErrorKey, NoErrorKey).

#include <string_view>

#include "text/cp1252.h"

namespace vex::engine {

/// True when `line` holds `key` anywhere, compared without regard to case (Windows-1252 rules).
/// An empty key is held by every non-empty line and by no empty one, as VB's InStr answers.
inline bool HoldsMarker(std::string_view line, std::string_view key) {
    if (key.empty()) return !line.empty();
    return text::IFind(line, key) != std::string_view::npos;
}

/// True when `line` holds `key` exactly (same case). An empty key is held by no line: an empty marker
/// cannot tell inserted code from the user's own.
inline bool HoldsMarkerExact(std::string_view line, std::string_view key) {
    return !key.empty() && line.find(key) != std::string_view::npos;
}

}  // namespace vex::engine
