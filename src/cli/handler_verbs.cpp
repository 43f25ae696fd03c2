#include <CLI/CLI.hpp>

#include "cli/code_verb.h"
#include "cli/verbs.h"
#include "engine/result_window.h"
#include "engine/study_manage_error.h"
#include "engine/study_tabulation.h"

namespace vex::cli {
namespace {

/// Runs StudyManageError with `mode` (1 insert, 2 remove); the result log is printed when the engine shows it.
CodeAction ManageErrors(VerbContext& ctx, engine::EditMode mode) {
    return [&ctx, mode](engine::Host& host, engine::FileList& lst) {
        PrintedResultWindow window(ctx.out, host.result);
        engine::StudyManageError(host, lst, mode, window);
    };
}

}  // namespace

void RegisterHandlerVerbs(CLI::App& app, VerbContext& ctx) {
    AddCodeVerb(app, ctx, "add-handlers",
                "Give every procedure an error handler (the AddError command): the ErrorCodeStart template\n"
                "after its declaration and the ErrorCodeClose template before its End line, each framed by\n"
                "separator lines that carry ErrorKey. Procedures that hold ErrorKey or NoErrorKey are left\n"
                "alone. When ViewResult is 1 (the default) the result log is printed on stdout.",
                ManageErrors(ctx, engine::EditMode::Add));
    AddCodeVerb(app, ctx, "remove-handlers",
                "Take the error handlers out again (the RemoveError command): every line that holds ErrorKey\n"
                "(same letter case) and the lines between such a line and its partner. When ViewResult is 1\n"
                "(the default) the result log is printed on stdout.",
                ManageErrors(ctx, engine::EditMode::Remove));

    AddCodeVerb(app, ctx, "indent",
                "Re-indent the code of every procedure (the Tabulation command): the body from TabStart blanks,\n"
                "each block Tabulation blanks deeper, code framed by ErrorKey separators from column 0. Line\n"
                "numbers stay in front. Declarations and declaration lines are left as they are.",
                [](engine::Host& host, engine::FileList& lst) { engine::StudyTabulation(host, lst); });
}

}  // namespace vex::cli
