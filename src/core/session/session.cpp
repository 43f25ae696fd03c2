#include "session/session.h"

#include <algorithm>

#include "engine/project_list.h"
#include "errors/error_report.h"
#include "errors/runtime_error.h"
#include "host/paths.h"
#include "ide/project_loader.h"
#include "ide/source_module.h"
#include "text/cp1252.h"

namespace vex::session {
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
    std::vector<std::string> names;
    for (int16_t i = 0; i < lst.ListCount(); ++i) names.push_back(lst.List(i));
    std::vector<std::string> nearest = NearestWords(wanted, names);
    for (auto& name : nearest) name = text::ToUtf8(name);
    return nearest;
}

}  // namespace

std::vector<std::string> NearestWords(const std::string& wanted, const std::vector<std::string>& names) {
    const std::string w = text::Lower(wanted);
    std::vector<std::pair<size_t, std::string>> scored;
    for (const auto& name : names) {
        const std::string n = text::Lower(name);
        size_t d = EditDistance(w, n);
        if (n.find(w) != std::string::npos || w.find(n) != std::string::npos) d = std::min<size_t>(d, 1);
        if (d <= std::max<size_t>(2, w.size() / 3)) scored.emplace_back(d, name);
    }
    std::stable_sort(scored.begin(), scored.end(), [](auto& x, auto& y) { return x.first < y.first; });
    std::vector<std::string> nearest;
    for (size_t i = 0; i < scored.size() && i < 3; ++i) nearest.push_back(scored[i].second);
    return nearest;
}

ide::Workspace LoadWorkspace(const std::string& path, ide::LoadMode mode) {
    auto ws = ide::LoadWorkspace(host::PathFromUtf8(path), mode);
    if (!ws.ActiveVBProject()) throw errors::RuntimeError(errors::code::kBadFileMode, path + " holds no project");
    return ws;
}

std::optional<UnknownComponent> SelectComponents(engine::Host& host, engine::FileList& lst,
                                                 const std::vector<std::string>& wanted) {
    if (wanted.empty()) return std::nullopt;  // as loaded: every row selected
    engine::UnSelectAllList(host, lst);
    for (const auto& utf8 : wanted) {
        const std::string name = text::FromUtf8(utf8);
        int16_t row = -1;
        for (int16_t i = 0; i < lst.ListCount() && row < 0; ++i)
            if (lst.List(i) == name) row = i;
        if (row < 0) return UnknownComponent{utf8, NearestNames(name, lst)};
        lst.SetSelected(row, true);
    }
    return std::nullopt;
}

Session::Session(ide::Workspace workspace, const Services& s)
    : workspace_(std::move(workspace)),
      host_{workspace_.ActiveVBProject(), s.percentProject, s.percentFile, s.screen, result_, s.store, s.report,
            s.prompter, s.notices, s.clock} {
    // The session's modules are its own: none is read anywhere else while a pass runs.
    host_.readAhead = true;
    engine::LoadProjectFile(host_, list_);
}

void Session::SaveAsItGoes() {
    saving_ = std::make_unique<ide::EndOfRunSave>(Project());
    host_.componentDone = [this](const ide::Component& component) { saving_->Stage(component); };
}

ide::ProjectSave Session::SaveChangesAndEnd() {
    host_.componentDone = nullptr;
    if (!saving_) saving_ = std::make_unique<ide::EndOfRunSave>(Project());
    return saving_->Finish();
}

bool Session::Aborted() const { return host_.report.Aborted(); }

bool Session::SkippedWork() const {
    const auto& reported = host_.report.Reported();
    return std::any_of(reported.begin(), reported.end(),
                       [](const errors::ReportedError& r) { return r.answer == host::Answer::Ignore && r.number != 0; });
}

size_t Session::SkipWorked(WorkedFiles& worked) {
    size_t skipped = 0;
    for (int16_t row = 0; row < list_.ListCount(); ++row) {
        if (!list_.Selected(row)) continue;
        const ide::Component* component = Project().FindComponent(list_.List(row));
        if (!component || component->Files().empty()) continue;
        const auto& file = component->Files().front();
        if (!worked.Claim(file)) {
            list_.SetSelected(row, false);
            ++skipped;
        }
    }
    return skipped;
}

}  // namespace vex::session
