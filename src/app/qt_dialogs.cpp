#include "app/qt_dialogs.h"

#include "app/form_backup.h"
#include "app/form_option.h"

namespace vex::app {

QtDialogs::QtDialogs(settings::SettingsStore& store, errors::ErrorReport& report, host::Prompter& prompter,
                     std::string addInDirectory, QWidget* parent)
    : store_(store), report_(report), parent_(parent), input_(parent),
      backup_(store, prompter, report, input_, std::move(addInDirectory)) {}

std::string QtDialogs::InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    return input_.Ask(prompt, title, defaultText);
}

void QtDialogs::ShowOptions() {
    FormOption dialog(store_, report_, parent_);
    dialog.exec();
}

std::string QtDialogs::GetBackupDirectory() {
    return backup_.GetDirectory([this] {
        FormBackUp dialog(backup_, parent_);
        if (onBackupShown) onBackupShown(dialog);
        dialog.exec();
    });
}

addin::Picture QtDialogs::ButtonFace() { return FormOption::ImaForm(); }

}  // namespace vex::app
