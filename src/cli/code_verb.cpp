#include "cli/code_verb.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>

#include "text/unified_diff.h"
#include "cli/verb_session.h"
#include "engine/result_log_file.h"
#include "host/paths.h"
#include "errors/error_report.h"
#include "ide/source_module.h"
#include "text/cp1252.h"
#include "util/file_io.h"

namespace vex::cli {

namespace {

std::string AnswerWord(host::Answer answer) {
    switch (answer) {
        case host::Answer::Retry: return "retried";
        case host::Answer::Ignore: return "ignored";
        case host::Answer::Abort: return "aborted";
        default: return "answered " + std::to_string(host::Code(answer));
    }
}

void ListErrors(VerbContext& ctx, const errors::ErrorReport& report) {
    for (const auto& e : report.Reported())
        ctx.err << "vextools: error " << e.number << " (" << e.description << ") in " << text::ToUtf8(e.procedure)
                << ", " << AnswerWord(e.answer) << "\n";
}

std::string ForDisplay(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

void AddCodeVerbOptions(CLI::App& verb, CodeVerbOptions& options) {
    verb.add_option("PROJECT", options.project, "The .vbp project, .vbg group or module file to work on")->required();
    verb.add_option("--component", options.components,
                    "Work on this component only (repeatable; default: every component)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->option_text("NAME ...");
    verb.add_flag("--dry-run", options.dryRun, "Print a unified diff of what would change; write nothing");
    verb.add_flag("--check", options.check, "Write nothing; exit 1 when some file would change, 0 otherwise");
    verb.add_option("--log", options.logFile, "Append the result log to FILE (created if missing)")
        ->option_text("FILE");
}

void PrintedResultWindow::ShowModal() { out_ << ForDisplay(log_.Text()) << "\n"; }

CLI::App* AddCodeVerb(CLI::App& app, VerbContext& ctx, const std::string& name, const std::string& description,
                      CodeAction action) {
    auto options = std::make_shared<CodeVerbOptions>();
    auto* verb = app.add_subcommand(name, description);
    AddCodeVerbOptions(*verb, *options);
    verb->callback([&ctx, options, action = std::move(action)] { ctx.exitCode = RunCodeVerb(ctx, *options, action); });
    return verb;
}

int RunCodeVerb(VerbContext& ctx, const CodeVerbOptions& options, const CodeAction& action) {
    if (options.dryRun && options.check) {
        ctx.err << "vextools: --dry-run and --check cannot be used together\n";
        return exit_code::kUsage;
    }
    auto session = VerbSession::Open(ctx, options.project, options.components);
    if (!session) return ctx.exitCode;
    session::Session& core = session->Core();

    ctx.printResult = !options.dryRun && !options.check && !options.logFile;
    core.Run(action);
    session->Progress().Finish();

    int code = exit_code::kOk;
    if (options.logFile) {
        try {
            engine::SaveResultLog(host::PathFromUtf8(*options.logFile), core.Result().Text());
        } catch (const errors::RuntimeError& e) {
            ctx.err << "vextools: " << e.Description() << "\n";
            code = exit_code::kFailure;
        }
    }

    const errors::ErrorReport& report = session->Report();
    if (core.Aborted()) {
        ListErrors(ctx, report);
        ctx.err << "vextools: run aborted; nothing saved\n";
        return exit_code::kFailure;
    }

    auto changes = core.Changes();
    long linesChanged = 0;
    for (const auto& change : changes) {
        std::error_code ec;
        std::filesystem::path shown = std::filesystem::proximate(change.file, ec);
        if (ec || shown.empty() || *shown.begin() == "..") shown = change.file;
        text::TextDiff diff = text::DiffTexts(change.before, change.after, shown.generic_string());
        linesChanged += diff.linesChanged;
        if (options.dryRun) ctx.out << diff.unified;
    }
    const bool writes = !options.dryRun && !options.check;
    if (options.check) {
        for (const auto& change : changes) ctx.err << "vextools: would change " << change.file.string() << "\n";
    }

    // Every file left out or not saved, in the order met; the others are saved.
    std::vector<std::filesystem::path> failed;
    for (const auto& f : core.LoadFailures()) failed.push_back(f.file);
    size_t saved = changes.size();
    if (writes && !changes.empty()) {
        const session::SaveOutcome outcome = session::Session::Save(changes);
        saved = outcome.saved.size();
        for (const auto& f : outcome.failures) {
            ctx.err << "vextools: " << f.message << "\n";
            failed.push_back(f.file);
        }
        if (!outcome.Ok())
            for (const auto& file : outcome.saved) ctx.err << "vextools: saved " << util::Display(file) << "\n";
    }
    ctx.err << (writes ? std::to_string(saved) + " component(s) changed, "
                       : std::to_string(changes.size()) + " component(s) would change, ")
            << linesChanged << " line(s) changed" << (failed.empty() ? "" : ", " + std::to_string(failed.size()) +
                                                                                  " file(s) failed")
            << "\n";
    ListErrors(ctx, report);
    for (const auto& file : failed) ctx.err << "vextools: failed: " << util::Display(file) << "\n";
    if (core.SkippedWork()) {
        ctx.err << "vextools: an error was answered Ignore; the work it stopped was skipped\n";
        code = exit_code::kFailure;
    }
    if (!failed.empty()) code = exit_code::kFailure;
    if (options.check && !changes.empty() && code == exit_code::kOk) return exit_code::kChanges;
    return code;
}

}  // namespace vex::cli
