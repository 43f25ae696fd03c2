#include "cli/verb_session.h"

#include <algorithm>
#include <iostream>

#include "engine/project_list.h"
#include "errors/runtime_error.h"
#include "ide/project_loader.h"
#include "text/cp1252.h"

namespace vex::cli {
namespace {

size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

/// Up to three component names closest to `wanted` (letter case ignored), closest first.
std::vector<std::string> NearestNames(const std::string& wanted, const engine::FileList& lst) {
    const std::string w = text::Lower(wanted);
    std::vector<std::pair<size_t, std::string>> scored;
    for (int16_t i = 0; i < lst.ListCount(); ++i) {
        const std::string name = lst.List(i);
        const std::string n = text::Lower(name);
        size_t d = EditDistance(w, n);
        if (n.find(w) != std::string::npos || w.find(n) != std::string::npos) d = std::min<size_t>(d, 1);
        if (d <= std::max<size_t>(2, w.size() / 3)) scored.emplace_back(d, name);
    }
    std::stable_sort(scored.begin(), scored.end(), [](auto& x, auto& y) { return x.first < y.first; });
    std::vector<std::string> names;
    for (size_t i = 0; i < scored.size() && i < 3; ++i) names.push_back(text::ToUtf8(scored[i].second));
    return names;
}

}  // namespace

bool SelectComponents(VerbContext& ctx, engine::Host& host, engine::FileList& lst,
                      const std::vector<std::string>& wanted) {
    if (wanted.empty()) return true;  // as loaded: every row selected
    engine::UnSelectAllList(host, lst);
    for (const auto& utf8 : wanted) {
        const std::string name = text::FromUtf8(utf8);
        int16_t row = -1;
        for (int16_t i = 0; i < lst.ListCount() && row < 0; ++i)
            if (lst.List(i) == name) row = i;
        if (row < 0) {
            ctx.err << "vextools: no component named \"" << utf8 << "\" in the project";
            auto near = NearestNames(name, lst);
            for (size_t i = 0; i < near.size(); ++i) ctx.err << (i == 0 ? "; did you mean " : ", ") << near[i];
            ctx.err << (near.empty() ? "" : "?") << "\n";
            return false;
        }
        lst.SetSelected(row, true);
    }
    return true;
}

std::optional<ide::Workspace> LoadOrComplain(VerbContext& ctx, const std::string& path, ide::LoadMode mode) {
    try {
        auto ws = ide::LoadWorkspace(path, mode);
        for (const auto& w : ws.Warnings()) ctx.err << "vextools: warning: " << w << "\n";
        if (ws.ActiveVBProject()) return ws;
        ctx.err << "vextools: " << path << " holds no project\n";
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
    }
    ctx.exitCode = exit_code::kFailure;
    return std::nullopt;
}

VerbSession::VerbSession(VerbContext& ctx, ide::Workspace workspace, std::unique_ptr<settings::SettingsStore> store)
    : workspace_(std::move(workspace)),
      store_(std::move(store)),
      notices_(ctx.err),
      prompter_(MakePrompter(ctx.global, std::cin, ctx.err)),
      report_(MakeErrorReport(*prompter_, clock_, &screen_)),
      progress_(ctx.err, &ctx.err == &std::cerr && StderrIsTerminal()),
      host_{workspace_.ActiveVBProject(), progress_.Project(), progress_.File(), screen_, result_, *store_, *report_,
            *prompter_, notices_, clock_} {}

std::unique_ptr<VerbSession> VerbSession::Open(VerbContext& ctx, const std::string& project,
                                               const std::vector<std::string>& components, ide::LoadMode mode) {
    auto workspace = LoadOrComplain(ctx, project, mode);
    if (!workspace) return nullptr;
    std::unique_ptr<settings::SettingsStore> store;
    try {
        store = OpenStore(ctx.global);
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << "\n";
        ctx.exitCode = exit_code::kFailure;
        return nullptr;
    }
    std::unique_ptr<VerbSession> session(new VerbSession(ctx, std::move(*workspace), std::move(store)));
    engine::LoadProjectFile(session->host_, session->list_);
    if (!SelectComponents(ctx, session->host_, session->list_, components)) {
        ctx.exitCode = exit_code::kUsage;
        return nullptr;
    }
    return session;
}

}  // namespace vex::cli
