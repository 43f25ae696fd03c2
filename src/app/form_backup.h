#pragma once
// frmBackUp ("Backup directory"): draws the backup directory model and forwards its events. Enter opens
// the folder browser, Escape starts "Create a &directory..", typing into the box is discarded.

#include <QDialog>
#include <functional>

#include "backup/backup_dir_model.h"

class QLineEdit;
class QPushButton;

namespace vex::app {

class FormBackUp : public QDialog {
    Q_OBJECT
public:
    /// The window over `model`, loaded (Form_Load has run).
    explicit FormBackUp(backup::BackupDirModel& model, QWidget* parent = nullptr);

    /// RetourneRepertoire: the folder browser's answer, empty when cancelled. Qt's directory-only
    /// dialog unless a test puts its own.
    std::function<std::string(QWidget* owner, const std::string& start)> browse;

    QLineEdit* txtDestDir() const { return txtDestDir_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    QPushButton* Command4() const { return command4_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Runs one of the model's handlers, then draws the model, closing the window once it unloaded.
    void Forward(const std::function<void()>& handler);
    void Draw();

    backup::BackupDirModel& model_;
    QLineEdit* txtDestDir_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QPushButton* command4_;
};

/// RetourneRepertoire over QFileDialog in directory-only mode, titled "Choose directory :".
std::string RetourneRepertoire(QWidget* owner, const std::string& start);

}  // namespace vex::app
