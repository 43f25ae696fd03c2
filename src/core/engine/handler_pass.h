#pragma once
// The frame the two error-handler passes share: options, the run's head in the result log, the walk over
// the selected components, and the results window at the end.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/file_list.h"
#include "engine/host.h"
#include "engine/result_window.h"
#include "errors/trap.h"
#include "ide/code_module.h"
#include "settings/options.h"

namespace vex::engine {

/// Works through one component's lines, given its code and its row's text; false ends the run.
using HandlerComponentPass = std::function<bool(ide::CodeModule& code, const std::string& rowText)>;

/// Steps the walk over a component whose line count changes under it: while `counter` has not reached
/// CountOfLines (read afresh), sets the file bar's maximum to it, steps `counter` and the bar, and yields.
/// False at the end of the component.
bool NextLine(Host& host, const ide::CodeModule& code, long& counter);

/// Every step under `trap`: loads the options, appends the run's head (`title`, `rule`), walks the
/// selected components handing each to the pass that `makePass` builds from the options, and shows
/// `window` when ViewResult is on. An Abort answer leaves at once.
void RunHandlerPass(Host& host, FileList& lst, ResultWindow& window, errors::Trap& trap, std::string_view title,
                    std::string_view rule,
                    const std::function<HandlerComponentPass(const settings::LoadedOptions&)>& makePass);

/// RunHandlerPass with a pass object per run: `Pass(host, trap, options)` whose `Component(code, rowText)`
/// works through one component.
template <class Pass>
void RunHandlerPass(Host& host, FileList& lst, ResultWindow& window, errors::Trap& trap, std::string_view title,
                    std::string_view rule) {
    std::optional<Pass> pass;
    RunHandlerPass(host, lst, window, trap, title, rule, [&](const settings::LoadedOptions& options) {
        pass.emplace(host, trap, options);
        return [&](ide::CodeModule& code, const std::string& rowText) { return pass->Component(code, rowText); };
    });
}

}  // namespace vex::engine
