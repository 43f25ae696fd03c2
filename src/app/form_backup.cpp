#include "app/form_backup.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/qt_text.h"

namespace vex::app {

std::string RetourneRepertoire(QWidget* owner, const std::string& start) {
    return ToUtf8(QFileDialog::getExistingDirectory(owner, QStringLiteral("Choose directory :"), FromUtf8(start),
                                                    QFileDialog::ShowDirsOnly));
}

FormBackUp::FormBackUp(backup::BackupDirModel& model, QWidget* parent)
    : QDialog(parent), browse(&RetourneRepertoire), model_(model) {
    setObjectName("frmBackUp");
    setWindowTitle(QStringLiteral("Backup directory"));
    auto* label1 = new QLabel(QStringLiteral("Choose your backup directory:"), this);
    label1->setObjectName("Label1");
    txtDestDir_ = new QLineEdit(this);
    txtDestDir_->setObjectName("txtDestDir");
    // Nothing typed reaches the box; its text comes from the setting, the browser or a new subdirectory.
    txtDestDir_->setReadOnly(true);
    command1_ = new QPushButton(QStringLiteral("..."), this);
    command1_->setObjectName("Command1");
    command1_->setFixedWidth(28);
    command3_ = new QPushButton(QStringLiteral("&Cancel"), this);
    command3_->setObjectName("Command3");
    command2_ = new QPushButton(QStringLiteral("&Ok"), this);
    command2_->setObjectName("Command2");
    command4_ = new QPushButton(QStringLiteral("Create a &directory.."), this);
    command4_->setObjectName("Command4");
    for (auto* b : {command2_, command3_, command4_}) b->setAutoDefault(false);
    command1_->setDefault(true);  // Enter opens the browser

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0, 1, 4);
    grid->addWidget(txtDestDir_, 1, 0, 1, 4);
    grid->addWidget(command1_, 1, 4);
    grid->addWidget(command3_, 2, 0);
    grid->addWidget(command2_, 2, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(command4_, 2, 3, 1, 2);
    setFixedSize(416, 88);  // 6240 x 1320 twips
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());

    connect(command1_, &QPushButton::clicked, this,
            [this] { Forward([this] { model_.Command1_Click(browse(this, model_.Text())); }); });
    connect(command2_, &QPushButton::clicked, this, [this] { Forward([this] { model_.Command2_Click(); }); });
    connect(command3_, &QPushButton::clicked, this, [this] { Forward([this] { model_.Command3_Click(); }); });
    connect(command4_, &QPushButton::clicked, this, [this] { Forward([this] { model_.Command4_Click(); }); });
    Draw();
}

void FormBackUp::keyPressEvent(QKeyEvent* event) {
    // Escape is the key of "Create a &directory..", not of closing.
    if (event->key() == Qt::Key_Escape) {
        if (command4_->isEnabled()) command4_->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FormBackUp::Forward(const std::function<void()>& handler) {
    handler();
    Draw();
    if (!model_.Loaded()) accept();
}

void FormBackUp::Draw() {
    txtDestDir_->setText(FromUtf8(model_.Text()));
    command2_->setEnabled(model_.OkEnabled());
    command4_->setEnabled(model_.CreateEnabled());
}

}  // namespace vex::app
