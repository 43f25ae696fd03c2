#pragma once
// The add-in's windows as its logic sees them. The host draws them and forwards their events; the logic
// decides. Failing operations throw errors::RuntimeError.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "addin/ide_model.h"
#include "engine/file_list.h"
#include "engine/result_window.h"
#include "host/progress_bar.h"
#include "host/result_log.h"

namespace vex::addin {

/// lstFileProject: rows with a selected state, plus the two edits that list maintenance needs.
class ProjectListView : public engine::FileList {
public:
    /// Removes the row; the rows below move up.
    virtual void RemoveItem(int16_t row) = 0;
    /// Sets the row's text, keeping its place.
    virtual void SetList(int16_t row, const std::string& text) = 0;
};

/// What the tool window's toolbar reports: the clicked button's `Key`.
class ToolbarEvents {
public:
    virtual ~ToolbarEvents() = default;
    virtual void Toolbar1_ButtonClick(std::string_view key) = 0;
};

/// The widgets of docVexTools.
class ToolWindowView {
public:
    virtual ~ToolWindowView() = default;
    virtual ProjectListView& lstFileProject() = 0;
    virtual host::ProgressBar& PercentProject() = 0;
    virtual host::ProgressBar& PercentFile() = 0;
    /// The button's `Value`: pressed (drawn down) or not.
    virtual void SetButtonPressed(std::string_view key, bool pressed) = 0;
    /// Where toolbar clicks go from now on; null stops them.
    virtual void SetEvents(ToolbarEvents* events) = 0;
};

/// frmResult: the log text (objTxtResult) and the modal showing. The host's window is created hidden
/// on first use; closing it drops the text, and the next append starts a fresh log.
class ResultView : public host::ResultLog, public engine::ResultWindow {};

/// The modal dialogs and boxes the tool window opens.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// VB's InputBox(prompt, title, default): the text as typed, or the empty text when cancelled.
    virtual std::string InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) = 0;
    /// frmOption.Show vbModal: returns when the options dialog closes.
    virtual void ShowOptions() = 0;
    /// frmBackUp.GetDirectory(): the chosen directory, or the empty text.
    virtual std::string GetBackupDirectory() = 0;
    /// frmOption's ImaForm: the 16 x 15 face of the command-bar button. Reaching it loads the options
    /// dialog hidden (it then shows the values read at that time when first opened).
    virtual Picture ButtonFace() = 0;
};

/// The settings of the results window's save dialog (MSComDlg.CommonDialog).
struct SaveDialogSettings {
    bool cancelError = true;
    std::string defaultExt;
    std::string fileName;
    long flags = 0;
    std::string filter;  ///< "label|pattern|label|pattern"; the first entry is in force
};

/// The common file dialog's save form.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    /// The full path the user chose, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> ShowSave(const SaveDialogSettings& settings) = 0;
};

}  // namespace vex::addin
