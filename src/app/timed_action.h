#pragma once
// One toolbar action run from the command line and timed, for scripts that compare the host with the
// command-line tool: how long it took and how long the window went without a repaint.

#include <QString>

namespace vex::app {

class MainWindow;

/// How one timed action went.
struct ActionTiming {
    bool found = false;     ///< the tool window had a button of that key
    qint64 elapsedMs = 0;   ///< from the click to the action's end
    qint64 longestGapMs = 0;  ///< the longest stretch without a paint event, start and end included
    int paints = 0;         ///< paint events delivered meanwhile
};

/// Clicks the tool window's button `key` (for example "AddLine") and returns once the action has run.
ActionTiming RunTimedAction(MainWindow& window, const QString& key);

}  // namespace vex::app
