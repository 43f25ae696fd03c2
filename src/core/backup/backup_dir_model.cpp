#include "backup/backup_dir_model.h"

#include <filesystem>
#include <system_error>

#include "host/paths.h"
#include "host/prompter.h"
#include "errors/runtime_error.h"
#include "errors/trap.h"
#include "settings/settings_store.h"

namespace vex::backup {

namespace {

constexpr const char* kCreateTitle = "Création d'un répertoire";
constexpr char kSeparator = '/';

/// MkDir: creates one directory; error 75 when a file or directory of that name exists.
void MkDir(const std::string& path) {
    const auto dir = host::PathFromUtf8(path);
    std::error_code ec;
    if (std::filesystem::create_directory(dir, ec)) return;
    if (!ec || std::filesystem::exists(std::filesystem::symlink_status(dir, ec)))
        throw errors::RuntimeError(errors::code::kPathFileAccess, "Path/File access error");
    throw errors::RuntimeError(errors::code::kPathNotFound, "Path not found");
}

}  // namespace

BackupDirModel::BackupDirModel(settings::SettingsStore& store, host::Prompter& prompter,
                               errors::ErrorReport& report, InputBox& input, std::string addInDirectory)
    : store_(store), prompter_(prompter), report_(report), input_(input), addInDirectory_(std::move(addInDirectory)) {}

std::string BackupDirModel::GetDirectory(const std::function<void()>& showModal) {
    errors::Trap trap(report_, "GetDirectory");
    Form_Load();
    (void)trap.Run(showModal);
    loaded_ = false;  // however the window was closed (the close box too), it is unloaded now
    return chosen_;
}

void BackupDirModel::Form_Load() {
    errors::Trap trap(report_, "Form_Load");
    loaded_ = true;
    (void)trap.Run([&] { SetText(store_.Get(kBackupDirKey, addInDirectory_)); });
}

void BackupDirModel::Command1_Click(const std::string& browsed) {
    if (!browsed.empty()) SetText(browsed);
}

void BackupDirModel::Command2_Click() {
    if (!OkEnabled()) return;  // a disabled button does nothing
    errors::Trap trap(report_, "Command2_Click");
    chosen_ = text_;
    if (!trap.Run([&] { store_.Save(kBackupDirKey, chosen_); })) return;  // Abort: the dialog stays open
    loaded_ = false;
}

void BackupDirModel::Command3_Click() {
    chosen_.clear();
    loaded_ = false;
}

void BackupDirModel::Command4_Click() {
    // Disabled while the box is empty: the joined path would otherwise name the file system's root.
    if (!CreateEnabled()) return;
    const std::string answer = input_.Ask("Nom du sous répertoire : \r\r" + text_, kCreateTitle);
    if (answer.empty()) return;
    if (answer.find(kSeparator) != std::string::npos) {
        prompter_.MsgBox({"Vous devez donner uniquement le nom du répertoire à crée.", kCreateTitle,
                          host::style::kExclamation});
        return;
    }
    const std::string name = text_ + kSeparator + answer;
    try {
        MkDir(name);
        SetText(name);
    } catch (const errors::RuntimeError& e) {
        if (e.Number() != errors::code::kPathFileAccess) return;  // any other failure ends the command silently
        SetText(name);
        prompter_.MsgBox({"Le répertoire exitse déjà.", "", host::style::kInformation});
    }
}

}  // namespace vex::backup
