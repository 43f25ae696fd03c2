#pragma once
// Shared set-up of the error-handler and indentation tests: a project of in-memory modules, its list with
// every row selected, and the host fakes.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/file_list.h"
#include "engine/result_window.h"
#include "fakes/host_fixture.h"
#include "ide/component.h"
#include "ide/project.h"
#include "ide/source_module.h"

namespace vex::testing::handlers {

/// Lines joined by CR LF, each ending with one.
inline std::string Crlf(std::initializer_list<std::string_view> lines) {
    std::string s;
    for (auto l : lines) (s += l) += "\r\n";
    return s;
}
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) (s += l) += "\r\n";
    return s;
}

class CountingResultWindow : public engine::ResultWindow {
public:
    void ShowModal() override { ++shown; }
    int shown = 0;
};

/// A project of modules, listed and all selected, with fakes around it.
struct HandlerRun {
    explicit HandlerRun(const std::vector<std::pair<std::string, std::string>>& modules)
        : project(MakeProject(modules)) {
        fx.host.activeProject = &project;
        for (const auto& [name, text] : modules) {
            lst.AddItem(name);
            lst.SetSelected(static_cast<int16_t>(lst.ListCount() - 1), true);
        }
    }
    /// The visible code of component `i`, each line ending with CR LF.
    std::string Code(size_t i = 0) {
        auto& code = project.VBComponents().at(i).GetCodeModule();
        const long n = code.CountOfLines();
        return n == 0 ? std::string() : code.Lines(1, n) + "\r\n";
    }
    void SetOption(std::string_view key, std::string_view value) { fx.store.Save(key, value); }

    HostFixture fx;
    ide::Project project;
    engine::PlainFileList lst;
    CountingResultWindow window;
};

/// The engine's default handler of a procedure, as inserted (separator lines included).
inline std::vector<std::string> EngineStartBlock() {
    return {"'########## %Manage Error% ##########", "On Error GoTo ErreurOrvel",
            "'########## %Manage Error% ##########"};
}
inline std::vector<std::string> EngineEndBlock(const std::string& kind, const std::string& name) {
    return {"'########## %Manage Error% ##########",
            "Exit " + kind,
            "ErreurOrvel:",
            "Select Case gestErreur(\"" + name + "\", Err, Erl)",
            "   Case vbRetry",
            "       Err = 0",
            "       Resume",
            "   Case vbIgnore",
            "       Err = 0",
            "      Resume Next",
            "  Case vbAbort",
            "End Select",
            "'########## %Manage Error% ##########"};
}

/// `lines` with `block` inserted before index `at`.
inline std::vector<std::string> Inserted(std::vector<std::string> lines, size_t at,
                                         const std::vector<std::string>& block) {
    lines.insert(lines.begin() + static_cast<long>(at), block.begin(), block.end());
    return lines;
}

}  // namespace vex::testing::handlers
