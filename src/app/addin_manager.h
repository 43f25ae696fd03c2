#pragma once
// The Add-In Manager: the one add-in this IDE knows, "VexTools.Connect", with its "Loaded" and
// "Load on Startup" boxes. The dialog only collects the choice; the main window acts on it.

#include <QDialog>

class QCheckBox;

namespace vex::app {

class AddInManager : public QDialog {
    Q_OBJECT
public:
    AddInManager(bool loaded, bool loadOnStartup, QWidget* parent = nullptr);
    QCheckBox* chkLoaded() const { return loaded_; }
    QCheckBox* chkLoadOnStartup() const { return startup_; }

private:
    QCheckBox* loaded_;
    QCheckBox* startup_;
};

}  // namespace vex::app
