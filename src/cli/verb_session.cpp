#include "cli/verb_session.h"

#include <iostream>

#include "errors/runtime_error.h"
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
        if (ctx.global.verbose)
            for (const auto& n : ws.Notes()) ctx.err << "vextools: note: " << n << "\n";
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

VerbSession::VerbSession(VerbContext& ctx, ide::Workspace workspace, std::unique_ptr<settings::SettingsStore> store)
    : store_(std::move(store)),
      notices_(ctx.err),
      prompter_(MakePrompter(ctx.global, std::cin, ctx.err)),
      report_(MakeErrorReport(*prompter_, clock_, &screen_, &notices_)),
      progress_(ctx.err, &ctx.err == &std::cerr && StderrIsTerminal()),
      core_(std::make_unique<session::Session>(
          std::move(workspace), session::Services{progress_.Project(), progress_.File(), screen_, *store_, *report_,
                                                  *prompter_, notices_, clock_})) {}

std::unique_ptr<VerbSession> VerbSession::Open(VerbContext& ctx, const std::string& project,
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
        ctx.err << "vextools: " << project << ": working on project " << text::ToUtf8(chosen.Name()) << " ("
                << util::Display(chosen.FileName()) << ")\n";
    }
    std::unique_ptr<settings::SettingsStore> store;
    try {
        store = OpenStore(ctx.global);
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
        ctx.exitCode = exit_code::kFailure;
        return nullptr;
    }
    std::unique_ptr<VerbSession> session(new VerbSession(ctx, std::move(*workspace), std::move(store)));
    if (auto unknown = session->core_->Select(components)) {
        ComplainUnknown(ctx, *unknown);
        ctx.exitCode = exit_code::kUsage;
        return nullptr;
    }
    return session;
}

}  // namespace vex::cli
