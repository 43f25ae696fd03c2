#pragma once
// Test doubles for everything the engine reaches outside itself, bundled into one engine::Host.

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/file_list.h"
#include "engine/host.h"
#include "errors/error_report.h"
#include "host/prompter.h"
#include "ide/project.h"
#include "ide/source_module.h"
#include "settings/memory_settings_store.h"

namespace vex::testing {

/// Answers questions from a script (default: the given fallback), and records every message.
class ScriptedPrompter : public host::Prompter {
public:
    explicit ScriptedPrompter(host::Answer fallback = host::Answer::Ok) : fallback_(fallback) {}
    host::Answer MsgBox(const host::Message& m) override {
        asked.push_back(m);
        if (script.empty()) return fallback_;
        const host::Answer a = script.front();
        script.pop_front();
        return a;
    }
    std::deque<host::Answer> script;
    std::vector<host::Message> asked;

private:
    host::Answer fallback_;
};

/// Records reports and answers them from a script (default Abort, so a surprise error ends the run).
class ScriptedErrorReport : public errors::ErrorReport {
public:
    host::Answer gestErreur(std::string_view procedureName, const errors::RuntimeError& error, long,
                            const std::optional<std::string>& = std::nullopt) override {
        host::Answer a = host::Answer::Abort;
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        }
        if (error.Number() == 0) a = host::Answer::Ignore;
        reported_.push_back({std::string(procedureName), error.Number(), error.Description(), a});
        return a;
    }
    const std::vector<errors::ReportedError>& Reported() const override { return reported_; }

    std::deque<host::Answer> answers;

private:
    std::vector<errors::ReportedError> reported_;
};

/// Counts pointer changes and yields.
class CountingScreen : public host::Screen {
public:
    void SetPointer(host::Pointer p) override { pointer = p; }
    void DoEvents() override { ++yields; }
    host::Pointer pointer = host::Pointer::Default;
    long yields = 0;
};

class RecordingNotices : public host::Notices {
public:
    void Notice(std::string_view text) override { notices.emplace_back(text); }
    std::vector<std::string> notices;
};

class FixedClock : public host::Clock {
public:
    std::chrono::system_clock::time_point Now() const override { return now; }
    std::chrono::system_clock::time_point now{std::chrono::seconds(1'800'000'000)};
};

/// One engine::Host over fakes; set `host.activeProject` to the project under test.
struct HostFixture {
    host::PlainProgressBar percentProject, percentFile;
    CountingScreen screen;
    host::StringResultLog result;
    settings::MemorySettingsStore store;
    ScriptedErrorReport report;
    ScriptedPrompter prompter;
    RecordingNotices notices;
    FixedClock clock;
    engine::Host host{nullptr, percentProject, percentFile, screen, result, store, report, prompter, notices, clock};
};


/// Lines joined by CR LF, each ending with one.
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) (s += l) += "\r\n";
    return s;
}

/// A project of in-memory modules: each pair is (component name, file text). The texts need no header.
inline ide::Project MakeProject(const std::vector<std::pair<std::string, std::string>>& modules) {
    ide::Project p;
    p.SetFileName("Test.vbp");
    p.SetName("Test");
    for (const auto& [name, text] : modules)
        p.VBComponents().emplace_back(name, ide::ComponentKind::Module, name + ".bas", ide::SourceModule::Parse(text));
    return p;
}

}  // namespace vex::testing
