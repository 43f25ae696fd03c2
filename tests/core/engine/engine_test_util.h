#pragma once
// Helpers for the engine tests: modules written as line lists, and one run of a pass over a project.

#include <string>
#include <utility>
#include <vector>

#include "engine/project_list.h"
#include "fakes/host_fixture.h"
#include "ide/code_module.h"

namespace vex::testing {

using Lines = std::vector<std::string>;

inline std::string Crlf(const Lines& lines) {
    std::string s;
    for (const auto& l : lines) (s += l) += "\r\n";
    return s;
}

inline Lines LinesOf(const ide::CodeModule& code) {
    Lines lines;
    for (long j = 1; j <= code.CountOfLines(); ++j) lines.push_back(code.Lines(j, 1));
    return lines;
}

/// A project of modules given as line lists, loaded into a fixture and a list (all rows selected).
struct EngineRun {
    explicit EngineRun(const std::vector<std::pair<std::string, Lines>>& modules) {
        std::vector<std::pair<std::string, std::string>> texts;
        for (const auto& [name, lines] : modules) texts.emplace_back(name, Crlf(lines));
        project = MakeProject(texts);
        fx.host.activeProject = &project;
        engine::LoadProjectFile(fx.host, lst);
    }
    Lines Module(size_t i) const { return LinesOf(project.VBComponents()[i].GetCodeModule()); }

    HostFixture fx;
    ide::Project project;
    engine::PlainFileList lst;
};

}  // namespace vex::testing
