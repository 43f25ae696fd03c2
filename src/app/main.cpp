// vextools-ide [--no-addin | --addin | --external] [FILE]: the desktop IDE.
//   (none)       the add-in loads at start-up (mode 1, then start-up complete) when "Load on Startup" is on
//   --addin      the add-in is named on the command line: mode 3, then start-up complete
//   --external   an outside caller connects it once the IDE runs: mode 2 (for tests and scripts)
//   --no-addin   the add-in stays unloaded
#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("vextools-ide");
    vex::app::MainWindow window;
    QString file;
    enum class Load { Startup, CommandLine, External, None } load = Load::Startup;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        if (arg == "--no-addin")
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
    return app.exec();
}
