// vextools-ide [--no-addin] [FILE]: the desktop IDE, with the VexTools add-in loaded at start-up.
#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("vextools-ide");
    vex::app::MainWindow window;
    QString file;
    bool addIn = true;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        if (arg == "--no-addin")
            addIn = false;
        else
            file = arg;
    }
    if (!file.isEmpty()) window.OpenPath(file);
    window.show();
    if (addIn) window.ConnectAddIn(vex::addin::connect_mode::kStartup);
    if (!file.isEmpty())
        if (auto* p = window.ActiveVBProject(); p && !p->VBComponents().empty())
            window.OpenCodeWindow(QString::fromStdString(p->VBComponents().front().Name()));
    return app.exec();
}
