#pragma once
// Helpers for the engine tests: modules written as line lists, run as one listed project over the host fakes.

#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/project_list.h"
#include "engine/result_window.h"
#include "fakes/host_fixture.h"
#include "ide/code_module.h"
#include "ide/vb_lexer.h"

namespace vex::testing {

using Lines = std::vector<std::string>;

inline Lines LinesOf(const ide::CodeModule& code) {
    Lines lines;
    for (long j = 1; j <= code.CountOfLines(); ++j) lines.push_back(code.Lines(j, 1));
    return lines;
}

/// Lines grouped into statements: a line with the lines it continues into.
inline std::vector<Lines> Statements(const Lines& lines) {
    std::vector<Lines> statements;
    bool continued = false;
    for (const auto& l : lines) {
        if (!continued) statements.emplace_back();
        statements.back().push_back(l);
        continued = ide::lex::Continues(l);
    }
    return statements;
}

/// The result log with the date of each run's head replaced by "DATE".
inline std::string WithoutDates(const std::string& log) {
    return std::regex_replace(log, std::regex("\\r\\n\\[[^\\]\\r\\n]+\\]"), "\r\n[DATE]");
}

/// The line each block of an inserted handler opens and closes with (default ErrorKey), and the heads of
/// the result logs of adding and removing handlers, dated as WithoutDates leaves them.
inline const std::string kSep = "'########## %Manage Error% ##########";
inline const std::string kAddHead = "\r\n\r\n[DATE]\r\n Procedure with new error handler.\r\n " + std::string(45, '-');
inline const std::string kRemoveHead = "\r\n\r\n[DATE]\r\n Procedure with remove code.\r\n " + std::string(65, '-');

class CountingResultWindow : public engine::ResultWindow {
public:
    void ShowModal() override { ++shown; }
    int shown = 0;
};

/// A project of modules given as line lists, loaded into a fixture and a list (all rows selected).
struct EngineRun {
    explicit EngineRun(const std::vector<std::pair<std::string, Lines>>& modules) {
        std::vector<std::pair<std::string, std::string>> texts;
        for (const auto& [name, lines] : modules) texts.emplace_back(name, Crlf(lines));
        project = MakeProject(texts);
        fx.host.activeProject = &project;
        engine::LoadProjectFile(fx.host, lst);
    }
    Lines Module(size_t i = 0) const { return LinesOf(project.VBComponents()[i].GetCodeModule()); }
    void SetOption(std::string_view key, std::string_view value) { fx.store.Save(key, value); }
    /// What a pass left that one that went well does not: empty when nothing was reported, both bars are
    /// at 0 and the pointer is the default one.
    std::string Leftovers() const {
        std::string left;
        for (const auto& e : fx.report.Reported()) left += "reported " + e.procedure + ": " + e.description + "; ";
        if (fx.percentProject.Value() + fx.percentFile.Value() != 0) left += "a bar not back at 0; ";
        if (fx.screen.pointer != host::Pointer::Default) left += "the hourglass still up; ";
        return left;
    }

    HostFixture fx;
    ide::Project project;
    engine::PlainFileList lst;
    CountingResultWindow window;
};

}  // namespace vex::testing
