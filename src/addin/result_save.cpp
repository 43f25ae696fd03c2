#include "addin/result_save.h"

#include "engine/result_log_file.h"
#include "host/screen.h"

namespace vex::addin {

SaveDialogSettings ResultSaveSettings() {
    return {true, std::string(kResultDefaultExt), std::string(kResultFileName), kResultSaveFlags,
            std::string(kResultFilter)};
}

bool SaveResults(SaveFileDialog& dialog, host::Screen& screen, std::string_view text) {
    try {
        std::optional<std::filesystem::path> file = dialog.ShowSave(ResultSaveSettings());
        if (!file || file->empty()) return false;
        if (!file->has_extension()) *file += "." + std::string(kResultDefaultExt);
        screen.SetPointer(host::Pointer::Hourglass);
        try {
            engine::SaveResultLog(*file, text);
        } catch (...) {
            screen.SetPointer(host::Pointer::Default);
            throw;
        }
        screen.SetPointer(host::Pointer::Default);
        return true;
    } catch (const std::exception&) {  // the save ends quietly on any failure, Cancel included
        return false;
    }
}

}  // namespace vex::addin
