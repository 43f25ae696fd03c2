#pragma once
// The add-in's modal dialogs and boxes over the Qt windows: the input box, frmOption, frmBackUp and the
// command-bar button's face.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "addin/views.h"
#include "app/qt_services.h"
#include "backup/backup_dir_model.h"

namespace vex::errors {
class ErrorReport;
}
namespace vex::settings {
class SettingsStore;
}

namespace vex::app {

class FormBackUp;

class QtDialogs : public addin::Dialogs {
public:
    QtDialogs(settings::SettingsStore& store, errors::ErrorReport& report, host::Prompter& prompter,
              std::string addInDirectory, QWidget* parent);
    std::string InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;
    void ShowOptions() override;
    std::string GetBackupDirectory() override;
    addin::Picture ButtonFace() override;

    settings::SettingsStore& Store() { return store_; }
    errors::ErrorReport& Report() { return report_; }
    /// Runs on each frmBackUp before it is shown (tests put their folder browser there).
    std::function<void(FormBackUp&)> onBackupShown;

private:
    settings::SettingsStore& store_;
    errors::ErrorReport& report_;
    QPointer<QWidget> parent_;
    QtInputBox input_;
    // One frmBackUp object for the whole add-in: its answer lives across showings.
    backup::BackupDirModel backup_;
};

}  // namespace vex::app
