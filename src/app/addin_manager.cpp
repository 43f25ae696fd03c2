#include "app/addin_manager.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "addin/connect.h"
#include "app/qt_text.h"

namespace vex::app {

AddInManager::AddInManager(bool loaded, bool loadOnStartup, QWidget* parent) : QDialog(parent) {
    setObjectName("addInManager");
    setWindowTitle(QStringLiteral("Add-In Manager"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("<b>Available Add-Ins</b>"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("<b>Load Behavior</b>"), this), 0, 1, 1, 2);
    grid->addWidget(new QLabel(FromUtf8(std::string(addin::kAddInProgId)), this), 1, 0);
    loaded_ = new QCheckBox(QStringLiteral("Loaded"), this);
    loaded_->setObjectName("chkLoaded");
    loaded_->setChecked(loaded);
    startup_ = new QCheckBox(QStringLiteral("Load on Startup"), this);
    startup_->setObjectName("chkLoadOnStartup");
    startup_->setChecked(loadOnStartup);
    grid->addWidget(loaded_, 1, 1);
    grid->addWidget(startup_, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 3);
}

}  // namespace vex::app
