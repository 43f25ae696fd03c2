// vextools-ide [--no-addin | --addin | --external] [FILE]: the desktop IDE.
//   (none)       the add-in loads at start-up (mode 1, then start-up complete) when "Load on Startup" is on
//   --addin      the add-in is named on the command line: mode 3, then start-up complete
//   --external   an outside caller connects it once the IDE runs: mode 2 (for tests and scripts)
//   --no-addin   the add-in stays unloaded
//   --run KEY    once the file is open, clicks the tool window's button KEY (AddLine, AddError, ...),
//                prints how long it took and the longest stretch without a repaint, and quits
//                without saving (for benchmarks and scripts)
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "app/main_window.h"
#include "app/timed_action.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("vextools-ide");
    vex::app::MainWindow window;
    QString file;
    QString runKey;
    enum class Load { Startup, CommandLine, External, None } load = Load::Startup;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--run" && i + 1 < args.size())
            runKey = args[++i];
        else if (arg == "--no-addin")
            load = Load::None;
        else if (arg == "--addin")
            load = Load::CommandLine;
        else if (arg == "--external")
            load = Load::External;
        else
            file = arg;
    }
    if (!file.isEmpty()) window.OpenPath(file);
    window.show();
    namespace mode = vex::addin::connect_mode;
    if (load == Load::Startup && window.LoadOnStartup()) window.ConnectAddIn(mode::kStartup);
    if (load == Load::CommandLine) window.ConnectAddIn(mode::kCommandLine);
    if (load == Load::External) window.ConnectAddIn(mode::kExternal);
    if (!file.isEmpty())
        if (auto* p = window.ActiveVBProject(); p && !p->VBComponents().empty())
            window.OpenCodeWindow(QString::fromStdString(p->VBComponents().front().Name()));
    if (!runKey.isEmpty()) {
        if (load == Load::None) window.ConnectAddIn(mode::kExternal);
        QTimer::singleShot(0, &window, [&window, runKey] {
            const auto t = vex::app::RunTimedAction(window, runKey);
            if (!t.found) {
                std::fprintf(stderr, "vextools-ide: the tool window has no button %s\n", qPrintable(runKey));
                QApplication::exit(2);
                return;
            }
            std::fprintf(stderr, "vextools-ide: %s took %lld ms; longest stretch without a repaint %lld ms (%d repaints)\n",
                         qPrintable(runKey), static_cast<long long>(t.elapsedMs), static_cast<long long>(t.longestGapMs),
                         t.paints);
            QApplication::exit(0);
        });
    }
    return app.exec();
}
