#include "engine/study_manage_error.h"

#include "engine/add_code_error.h"
#include "engine/host.h"
#include "engine/remove_code_error.h"
#include "errors/trap.h"

namespace vex::engine {

void StudyManageError(Host& host, FileList& lst, EditMode mode, ResultWindow& window) {
    errors::Trap trap(host.report, "modEtude // StudyManageError");
    if (!trap.Run([&] {
            host.screen.SetPointer(Pointer::Hourglass);
            host.screen.DoEvents();
        }))
        return;
    if (!trap.Run([&] {
            if (mode == EditMode::Add)
                AddCodeError(host, lst, window);
            else
                RemoveCodeError(host, lst, window);
        }))
        return;
    (void)trap.Run([&] {
        host.percentFile.SetValue(0);
        host.percentProject.SetValue(0);
        host.screen.SetPointer(Pointer::Default);
    });
}

}  // namespace vex::engine
