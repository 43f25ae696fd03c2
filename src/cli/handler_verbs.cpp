#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/code_verb.h"
#include "cli/verbs.h"
#include "engine/result_window.h"
#include "engine/study_manage_error.h"
#include "engine/study_tabulation.h"

namespace vex::cli {
namespace {

/// The results window of the command line: showing it prints the result log on stdout, line breaks as
/// the terminal writes them.
class PrintedResultWindow : public engine::ResultWindow {
public:
    PrintedResultWindow(std::ostream& out, const engine::ResultLog& log) : out_(out), log_(log) {}
    void ShowModal() override {
        const std::string text = log_.Text();
        std::string shown;
        shown.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) shown += text[i];
        out_ << shown << "\n";
    }

private:
    std::ostream& out_;
    const engine::ResultLog& log_;
};

/// Runs StudyManageError with `mode` (1 insert, 2 remove) under the shared runner.
void AddHandlerVerb(CLI::App& app, VerbContext& ctx, const char* name, const char* description, int16_t mode) {
    auto options = std::make_shared<CodeVerbOptions>();
    auto* verb = app.add_subcommand(name, description);
    AddCodeVerbOptions(*verb, *options);
    verb->callback([&ctx, options, mode] {
        ctx.exitCode = RunCodeVerb(
            ctx, *options,
            [&ctx, mode](engine::Host& host, engine::FileList& lst) {
                PrintedResultWindow window(ctx.out, host.result);
                engine::StudyManageError(host, lst, mode, window);
            },
            false);
    });
}

}  // namespace

void RegisterHandlerVerbs(CLI::App& app, VerbContext& ctx) {
    AddHandlerVerb(app, ctx, "add-handlers",
                   "Give every procedure an error handler (the AddError command): the ErrorCodeStart template\n"
                   "after its declaration and the ErrorCodeClose template before its End line, each framed by\n"
                   "separator lines that carry ErrorKey. Procedures that hold ErrorKey or NoErrorKey are left\n"
                   "alone. When ViewResult is 1 (the default) the result log is printed on stdout.",
                   1);
    AddHandlerVerb(app, ctx, "remove-handlers",
                   "Take the error handlers out again (the RemoveError command): every line that holds ErrorKey\n"
                   "(same letter case) and the lines between such a line and its partner. When ViewResult is 1\n"
                   "(the default) the result log is printed on stdout.",
                   2);

    auto indentOptions = std::make_shared<CodeVerbOptions>();
    auto* indent = app.add_subcommand(
        "indent",
        "Re-indent the code of every procedure (the Tabulation command): the body from TabStart blanks,\n"
        "each block Tabulation blanks deeper, code framed by ErrorKey separators from column 0. Line\n"
        "numbers stay in front. Declarations and declaration lines are left as they are.");
    AddCodeVerbOptions(*indent, *indentOptions);
    indent->callback([&ctx, indentOptions] {
        ctx.exitCode = RunCodeVerb(
            ctx, *indentOptions, [](engine::Host& host, engine::FileList& lst) { engine::StudyTabulation(host, lst); },
            false);
    });
}

}  // namespace vex::cli
