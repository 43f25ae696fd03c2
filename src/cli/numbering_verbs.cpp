#include <CLI/CLI.hpp>
#include <memory>

#include "cli/code_verb.h"
#include "cli/verbs.h"
#include "engine/keyword_deletion.h"
#include "engine/line_numbering.h"
#include "text/cp1252.h"

namespace vex::cli {

namespace {

struct KeywordOptions {
    CodeVerbOptions code;
    std::string keyword = "Debug.Print";
};

}  // namespace

void RegisterNumberingVerbs(CLI::App& app, VerbContext& ctx) {
    AddCodeVerb(app, ctx, "number",
                "Put a line number in front of the statements of every procedure (the AddLine command).\n"
                "Numbers step by the option LineJump (default 10) and start again in each procedure when\n"
                "ResetLineNumber is 1 (see `vextools options`).\n"
                "Declarations, comments, Dim/Const/Case lines, labels, directives, continuation lines and the\n"
                "lines between ErrorKey markers get no number; a line a GoTo/GoSub/Resume jumps to keeps its number.",
                [](engine::Host& host, engine::FileList& lst) { engine::StudyLineNumber(host, lst, engine::EditMode::Add); });

    AddCodeVerb(app, ctx, "unnumber",
                "Take the line numbers away (the RemoveLine command): every line that begins with a number loses it\n"
                "and the blank after it. Continuation lines and lines a jump goes to are left as they are.",
                [](engine::Host& host, engine::FileList& lst) { engine::StudyLineNumber(host, lst, engine::EditMode::Remove); });

    auto keywordOptions = std::make_shared<KeywordOptions>();
    auto* deleteLines = app.add_subcommand(
        "delete-lines",
        "Delete every statement that holds a keyword (the DeleteKey command), comments and strings included,\n"
        "letter case respected. A continued statement goes as a whole. Lines holding \"Sub FollowProgram\"\n"
        "are never deleted. An empty keyword deletes nothing.");
    AddCodeVerbOptions(*deleteLines, keywordOptions->code);
    deleteLines
        ->add_option("--keyword", keywordOptions->keyword,
                     "The text to look for, exactly as given (default: Debug.Print)")
        ->option_text("TEXT")
        ->default_str("Debug.Print");
    deleteLines->callback([&ctx, keywordOptions] {
        if (keywordOptions->keyword.empty()) {
            ctx.exitCode = exit_code::kOk;  // nothing to look for: the command does nothing
            return;
        }
        bool lossy = false;
        const std::string keyword = text::FromUtf8(keywordOptions->keyword, &lossy);
        if (lossy) {
            ctx.err << "vextools: the keyword \"" << keywordOptions->keyword
                    << "\" holds characters that Windows-1252 code cannot hold\n";
            ctx.exitCode = exit_code::kUsage;
            return;
        }
        ctx.exitCode = RunCodeVerb(ctx, keywordOptions->code, [keyword](engine::Host& host, engine::FileList& lst) {
            engine::StudyRemoveCode(host, lst, keyword);
        });
    });
}

}  // namespace vex::cli
