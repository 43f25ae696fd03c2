#pragma once
// frmBackUp without its window: what the backup directory dialog shows, stores and answers. The dialog
// forwards its events here and draws Text() and the enabled states.

#include <functional>
#include <string>
#include <string_view>

namespace vex::settings {
class SettingsStore;
}
namespace vex::errors {
class ErrorReport;
}
namespace vex::host {
class Prompter;
}

namespace vex::backup {

/// The setting that remembers the directory accepted last.
inline constexpr std::string_view kBackupDirKey = "Backup Dir";

/// VB's InputBox: asks for one line of text (UTF-8). The empty text when the user enters nothing or cancels.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual std::string Ask(std::string_view prompt, std::string_view title) = 0;
};

class BackupDirModel {
public:
    /// `addInDirectory` is what the text box shows when no "Backup Dir" is stored.
    BackupDirModel(settings::SettingsStore& store, host::Prompter& prompter, errors::ErrorReport& report,
                   InputBox& input, std::string addInDirectory);

    /// GetDirectory: loads the dialog (Form_Load), runs `showModal` (the window, until the user closes it
    /// with "&Ok", "&Cancel" or its close box, which leaves the answer as it was) and returns
    /// strChosenDirectory.
    std::string GetDirectory(const std::function<void()>& showModal);

    /// Form_Load: the text box shows the stored "Backup Dir", or the add-in's directory.
    void Form_Load();

    /// txtDestDir's text. The box takes no typing: its text comes only from the setting, the browser or
    /// a created subdirectory.
    const std::string& Text() const { return text_; }
    /// "&Ok" and "Create a &directory.." are enabled only while the text box holds something.
    bool OkEnabled() const { return !text_.empty(); }
    bool CreateEnabled() const { return !text_.empty(); }
    /// False once "&Ok" or "&Cancel" unloaded the dialog (the window closes then); Form_Load loads it.
    bool Loaded() const { return loaded_; }

    /// The answer GetDirectory gives; it lives as long as this object, across showings.
    const std::string& strChosenDirectory() const { return chosen_; }

    /// "...": `browsed` is the folder browser's answer (RetourneRepertoire); empty leaves the text as it is.
    void Command1_Click(const std::string& browsed);
    /// "&Ok": the text becomes the answer and is stored as "Backup Dir"; the dialog unloads. Nothing while
    /// disabled.
    void Command2_Click();
    /// "&Cancel": the answer becomes empty; the setting is untouched; the dialog unloads.
    void Command3_Click();
    /// "Create a &directory..": asks a name and creates that subdirectory of the text box's directory.
    /// Nothing while disabled.
    void Command4_Click();

private:
    void SetText(std::string text) { text_ = std::move(text); }

    settings::SettingsStore& store_;
    host::Prompter& prompter_;
    errors::ErrorReport& report_;
    InputBox& input_;
    std::string addInDirectory_;
    std::string text_;
    std::string chosen_;
    bool loaded_ = false;
};

}  // namespace vex::backup
