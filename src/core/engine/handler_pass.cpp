#include "engine/handler_pass.h"

#include "engine/run_head.h"
#include "engine/selection_walk.h"
#include "ide/component.h"

namespace vex::engine {

bool NextLine(Host& host, const ide::CodeModule& code, long& counter) {
    const long count = code.CountOfLines();
    if (count == counter) return false;
    host.percentFile.SetMax(count);
    ++counter;
    host.percentFile.SetValue(counter);
    host.screen.DoEvents();
    return true;
}

void RunHandlerPass(Host& host, FileList& lst, ResultWindow& window, errors::Trap& trap, std::string_view title,
                    std::string_view rule,
                    const std::function<HandlerComponentPass(const settings::LoadedOptions&)>& makePass) {
    settings::LoadedOptions options;
    if (!trap.Run([&] { options = settings::LoadOptionsForCode(host.store, &host.notices); })) return;
    if (!trap.Run([&] { AppendRunHead(host.result, host.clock.Now(), title, rule); })) return;

    const HandlerComponentPass pass = makePass(options);
    const ProcessComponent process = [&](ide::Component& component, int16_t row) {
        std::string rowText;
        if (!trap.Run([&] { rowText = lst.List(row); })) return false;
        return pass(component.GetCodeModule(), rowText);
    };
    bool completed = true;
    if (!trap.Run([&] { completed = WalkSelection(host, lst, process); }) || !completed) return;

    if (options.blnViewResult) {
        (void)trap.Run([&] {
            host.screen.SetPointer(Pointer::Default);
            window.ShowModal();
        });
    }
}

}  // namespace vex::engine
