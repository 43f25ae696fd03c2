#include "app/timed_action.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include "app/doc_vextools.h"
#include "app/main_window.h"

namespace vex::app {
namespace {

/// Notes when each paint event reaches any widget.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 longestGap = 0;
    int paints = 0;

    void Mark() {
        const qint64 now = clock_.elapsed();
        longestGap = std::max(longestGap, now - last_);
        last_ = now;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            Mark();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
    qint64 last_ = 0;
};

}  // namespace

ActionTiming RunTimedAction(MainWindow& window, const QString& key) {
    ActionTiming timing;
    QAction* button = window.Dock() ? window.Dock()->Button(key) : nullptr;
    if (!button) return timing;
    timing.found = true;
    QElapsedTimer clock;
    PaintWatch watch(clock);
    qApp->installEventFilter(&watch);
    clock.start();
    button->trigger();
    timing.elapsedMs = clock.elapsed();
    watch.Mark();
    qApp->removeEventFilter(&watch);
    timing.longestGapMs = watch.longestGap;
    timing.paints = watch.paints;
    return timing;
}

}  // namespace vex::app
