#include "cli/verb_session.h"

#include <iostream>

#include "cli/console.h"
#include "errors/runtime_error.h"
#include "host/paths.h"
#include "session/inputs.h"
#include "text/cp1252.h"
#include "util/file_io.h"

namespace vex::cli {

void ComplainUnknown(VerbContext& ctx, const session::UnknownComponent& unknown) {
    ctx.err << "vextools: no component named \"" << unknown.name << "\" in the project";
    for (size_t i = 0; i < unknown.nearest.size(); ++i)
        ctx.err << (i == 0 ? "; did you mean " : ", ") << unknown.nearest[i];
    ctx.err << (unknown.nearest.empty() ? "" : "?") << "\n";
}

std::optional<ide::Workspace> LoadOrComplain(VerbContext& ctx, const std::string& path, ide::LoadMode mode) {
    try {
        auto ws = session::LoadWorkspace(path, mode);
        for (const auto& w : ws.Warnings()) ctx.err << "vextools: warning: " << w << "\n";
        // Left out of the run: the rest goes on, but the run does not end as a success.
        for (const auto& f : ws.Failures()) ctx.err << "vextools: " << f.message << "; left untouched\n";
        if (!ws.Failures().empty()) ctx.exitCode = exit_code::kFailure;
        return ws;
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
    }
    ctx.exitCode = exit_code::kFailure;
    return std::nullopt;
}

namespace {

// A question asked on the terminal keeps the progress line away until it is answered.
class HeldPrompter : public host::Prompter {
public:
    HeldPrompter(std::unique_ptr<host::Prompter> inner, ProgressLine& progress)
        : inner_(std::move(inner)), progress_(progress) {}
    host::Answer MsgBox(const host::Message& message) override {
        const ProgressLine::Hold hold(progress_);
        return inner_->MsgBox(message);
    }

private:
    std::unique_ptr<host::Prompter> inner_;
    ProgressLine& progress_;
};

}  // namespace

bool ShowsProgress(const VerbContext& ctx) { return !ctx.global.quiet && &ctx.err == &std::cerr && StderrIsTerminal(); }

VerbSession::VerbSession(VerbContext& ctx, ProgressLine& progress, ide::Workspace workspace,
                         std::unique_ptr<settings::SettingsStore> store)
    : store_(std::move(store)),
      notices_(ctx.err),
      prompter_(std::make_unique<HeldPrompter>(MakePrompter(ctx.global, std::cin, ctx.err), progress)),
      report_(MakeErrorReport(*prompter_, clock_, &screen_)),
      progress_(progress),
      core_(std::make_unique<session::Session>(
          std::move(workspace), session::Services{progress_.Project(), progress_.File(), screen_, *store_, *report_,
                                                  *prompter_, notices_, clock_})) {}

std::unique_ptr<VerbSession> VerbSession::Open(VerbContext& ctx, ProgressLine& progress, const std::string& project,
                                               const std::vector<std::string>& components, ide::LoadMode mode,
                                               const std::string& projectName) {
    auto workspace = LoadOrComplain(ctx, project, mode);
    if (!workspace) return nullptr;
    if (text::IEquals(std::filesystem::path(project).extension().string(), ".vbg")) {
        if (!projectName.empty() && !session::ChooseProject(*workspace, projectName)) {
            ctx.err << "vextools: " << project << ": no project named \"" << projectName << "\" in the group; it holds";
            for (const auto& p : workspace->Projects()) ctx.err << " " << text::ToUtf8(p.Name());
            ctx.err << "\n";
            ctx.exitCode = exit_code::kUsage;
            return nullptr;
        }
        const ide::Project& chosen = *workspace->ActiveVBProject();
        if (!ctx.global.quiet)
            ctx.err << "vextools: " << project << ": working on project " << text::ToUtf8(chosen.Name()) << " ("
                << util::Display(chosen.FileName()) << ")\n";
    }
    std::unique_ptr<settings::SettingsStore> store;
    try {
        // The team's file is looked for from the folder of the project worked on.
        auto sources = OpenStore(ctx.global, workspace->ActiveVBProject()->FileName().empty()
                                                 ? host::PathFromUtf8(project)
                                                 : workspace->ActiveVBProject()->FileName());
        WarnOfUnknownKeys(*sources, ctx.err);
        store = std::move(sources);
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
        ctx.exitCode = exit_code::kFailure;
        return nullptr;
    }
    std::unique_ptr<VerbSession> session(new VerbSession(ctx, progress, std::move(*workspace), std::move(store)));
    if (auto unknown = session->core_->Select(components)) {
        ComplainUnknown(ctx, *unknown);
        ctx.exitCode = exit_code::kUsage;
        return nullptr;
    }
    return session;
}

}  // namespace vex::cli
