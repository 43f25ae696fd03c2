#pragma once
// An IDE in memory for the add-in's tests: projects, command bars, add-in entries, event sinks and the
// tool window's widgets, every call recorded.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "addin/ide_model.h"
#include "addin/services.h"
#include "addin/views.h"
#include "backup/copy_service.h"
#include "errors/runtime_error.h"
#include "fakes/host_fixture.h"
#include "ide/project.h"

namespace vex::testing {

class FakeList : public addin::ProjectListView {
public:
    struct Row {
        std::string text;
        bool selected = false;
        bool operator==(const Row&) const = default;
    };
    int16_t ListCount() const override { return static_cast<int16_t>(rows.size()); }
    std::string List(int16_t row) const override { return rows.at(static_cast<size_t>(row)).text; }
    bool Selected(int16_t row) const override { return rows.at(static_cast<size_t>(row)).selected; }
    void SetSelected(int16_t row, bool s) override { rows.at(static_cast<size_t>(row)).selected = s; }
    int16_t ListIndex() const override { return index; }
    void SetListIndex(int16_t row) override { index = row; }
    void Clear() override {
        rows.clear();
        index = -1;
    }
    void AddItem(const std::string& text) override { rows.push_back({text, false}); }
    void RemoveItem(int16_t row) override { rows.erase(rows.begin() + row); }
    void SetList(int16_t row, const std::string& text) override { rows.at(static_cast<size_t>(row)).text = text; }

    std::vector<Row> rows;
    int16_t index = -1;
};

class FakeToolWindowView : public addin::ToolWindowView {
public:
    addin::ProjectListView& lstFileProject() override { return list; }
    host::ProgressBar& PercentProject() override { return percentProject; }
    host::ProgressBar& PercentFile() override { return percentFile; }
    void SetButtonPressed(std::string_view key, bool pressed) override {
        pressedLog.push_back({std::string(key), pressed});
        if (pressed && failPress) throw errors::RuntimeError(5, "Invalid procedure call or argument");
    }
    bool failPress = false;
    void SetEvents(addin::ToolbarEvents* e) override { events = e; }

    FakeList list;
    host::PlainProgressBar percentProject, percentFile;
    std::vector<std::pair<std::string, bool>> pressedLog;
    addin::ToolbarEvents* events = nullptr;
};

class FakeWindow : public addin::Window {
public:
    bool Visible() const override { return visible; }
    void SetVisible(bool v) override { visible = v; }
    bool visible = false;
};

class FakeAddIn : public addin::AddIn {
public:
    FakeAddIn(std::string id, bool connected) : id(std::move(id)), connected(connected) {}
    std::string ProgId() const override { return id; }
    bool Connect() const override { return connected; }
    std::string id;
    bool connected;
};

class FakeCommandBar;

class FakeButton : public addin::CommandBarButton {
public:
    explicit FakeButton(FakeCommandBar& bar) : bar(bar) {}
    std::string Caption() const override { return caption; }
    void SetCaption(std::string_view c) override { caption = c; }
    void PasteFace() override;
    void Delete() override;
    FakeCommandBar& bar;
    std::string caption;
    std::optional<addin::Picture> face;
    const std::optional<addin::Picture>* clipboard = nullptr;
};

class FakeCommandBar : public addin::CommandBar {
public:
    bool Visible() const override { return visible; }
    void SetVisible(bool v) override { visible = v; }
    long ControlsCount() const override { return static_cast<long>(controls.size()); }
    std::shared_ptr<addin::CommandBarButton> AddButton(long before) override {
        auto b = std::make_shared<FakeButton>(*this);
        b->clipboard = clipboard;
        controls.insert(controls.begin() + (before - 1), b);
        return b;
    }
    /// Captions of the controls in order.
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& c : controls) out.push_back(c->caption);
        return out;
    }
    bool visible = false;
    std::vector<std::shared_ptr<FakeButton>> controls;
    const std::optional<addin::Picture>* clipboard = nullptr;
};

inline void FakeButton::PasteFace() {
    if (!clipboard || !*clipboard) throw errors::RuntimeError(5, "the clipboard holds no picture");
    face = **clipboard;
}
inline void FakeButton::Delete() {
    auto& c = bar.controls;
    c.erase(std::remove_if(c.begin(), c.end(), [this](const auto& p) { return p.get() == this; }), c.end());
}

class FakeVbe : public addin::Vbe {
public:
    FakeVbe() {
        for (const char* name : {"New", "Open", "Save", "Help"}) {
            auto b = std::make_shared<FakeButton>(standard);
            b->caption = name;
            standard.controls.push_back(b);
        }
        standard.clipboard = &clipboard;
        addins.push_back(std::make_unique<FakeAddIn>("Other.Connect", false));
    }

    ide::Project* ActiveVBProject() override { return projects.empty() ? nullptr : &projects[active]; }

    addin::CreatedToolWindow CreateToolWindow(addin::AddIn& addIn, std::string_view, std::string_view,
                                              std::string_view) override {
        created.push_back(addIn.ProgId());
        windows.push_back(std::make_shared<FakeWindow>());
        views.push_back(std::make_unique<FakeToolWindowView>());
        return {windows.back(), views.back().get()};
    }
    addin::AddIn& Addins(std::string_view id) override {
        for (auto& a : addins)
            if (a->id == id) return *a;
        throw errors::RuntimeError(9, "Subscript out of range");
    }
    addin::AddIn& FirstAddin() override { return *addins.at(0); }
    addin::CommandBar& CommandBars(int index) override {
        if (index == 2) return standard;
        throw errors::RuntimeError(9, "Subscript out of range");
    }
    addin::Subscription CommandBarEvents(addin::CommandBarButton&, std::function<void()> onClick) override {
        clicks.push_back(std::move(onClick));
        const size_t i = clicks.size() - 1;
        return addin::Subscription([this, i] { clicks[i] = nullptr; });
    }
    addin::Subscription VBComponentsEvents(addin::ComponentEvents& sink) override {
        componentSinks.push_back(&sink);
        return addin::Subscription([this, &sink] { std::erase(componentSinks, &sink); });
    }
    addin::Subscription VBProjectsEvents(addin::ProjectEvents& sink) override {
        projectSinks.push_back(&sink);
        return addin::Subscription([this, &sink] { std::erase(projectSinks, &sink); });
    }
    void ClipboardSetData(const addin::Picture& p) override {
        if (clipboardFails) throw errors::RuntimeError(521, "Can't open Clipboard");
        clipboard = p;
    }

    // What the user does in the IDE.
    void ClickButton() {
        for (auto& c : clicks)
            if (c) c();
    }
    void AddComponent(size_t project, const std::string& name) {
        auto& comps = projects.at(project).VBComponents();
        comps.emplace_back(name, ide::ComponentKind::Module, name + ".bas", ide::SourceModule::Parse(""));
        for (auto* s : std::vector(componentSinks)) s->ItemAdded(comps.back());
    }
    void RemoveComponent(size_t project, const std::string& name) {
        auto& comps = projects.at(project).VBComponents();
        auto it = std::find_if(comps.begin(), comps.end(), [&](const auto& c) { return c.Name() == name; });
        ide::Component gone = std::move(*it);
        comps.erase(it);
        for (auto* s : std::vector(componentSinks)) s->ItemRemoved(gone);
    }
    void RenameComponent(size_t project, const std::string& oldName, const std::string& newName) {
        auto& comps = projects.at(project).VBComponents();
        auto it = std::find_if(comps.begin(), comps.end(), [&](const auto& c) { return c.Name() == oldName; });
        *it = ide::Component(newName, it->Kind(), newName + ".bas", ide::SourceModule::Parse(""));
        for (auto* s : std::vector(componentSinks)) s->ItemRenamed(*it, oldName);
    }
    void Activate(size_t project) {
        active = project;
        for (auto* s : std::vector(projectSinks)) s->ItemActivated(projects[project]);
    }
    void RenameProject(size_t project, const std::string& newName) {
        const std::string old = projects[project].Name();
        projects[project].SetName(newName);
        for (auto* s : std::vector(projectSinks)) s->ItemRenamed(projects[project], old);
    }

    std::vector<ide::Project> projects;
    size_t active = 0;
    FakeCommandBar standard;
    std::vector<std::unique_ptr<FakeAddIn>> addins;
    std::vector<std::string> created;  ///< the add-in of each tool window made
    std::vector<std::shared_ptr<FakeWindow>> windows;
    std::vector<std::unique_ptr<FakeToolWindowView>> views;
    std::vector<std::function<void()>> clicks;
    std::vector<addin::ComponentEvents*> componentSinks;
    std::vector<addin::ProjectEvents*> projectSinks;
    std::optional<addin::Picture> clipboard;
    bool clipboardFails = false;
};

class FakeDialogs : public addin::Dialogs {
public:
    std::string InputBox(std::string_view prompt, std::string_view title, std::string_view def) override {
        inputs.push_back({std::string(prompt), std::string(title), std::string(def)});
        return answer ? *answer : std::string(def);
    }
    void ShowOptions() override { ++optionsShown; }
    std::string GetBackupDirectory() override { return backupDirectory; }
    addin::Picture ButtonFace() override { return face; }

    std::optional<std::string> answer;  ///< nothing: the user accepts the proposed text
    std::vector<std::vector<std::string>> inputs;
    int optionsShown = 0;
    std::string backupDirectory;
    addin::Picture face{16, 15, std::vector<uint8_t>(16 * 15 * 3, 0x7f)};
};

class FakeResultView : public addin::ResultView {
public:
    void Append(std::string_view piece) override { text += piece; }
    std::string Text() const override { return text; }
    void ShowModal() override { ++shown; }
    std::string text;
    int shown = 0;
};

class RecordingCopier : public backup::CopyService {
public:
    bool Copy(const std::filesystem::path& s, const std::filesystem::path& d, std::string*) override {
        copies.push_back({s, d});
        return true;
    }
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> copies;
};

/// A screen that runs `onYield` at each yield, as the event loop would deliver a click.
class YieldingScreen : public CountingScreen {
public:
    void DoEvents() override {
        CountingScreen::DoEvents();
        if (onYield) onYield();
    }
    std::function<void()> onYield;
};

/// The services of the add-in over fakes.
struct AddInFixture {
    FakeVbe vbe;
    YieldingScreen screen;
    settings::MemorySettingsStore store;
    ScriptedErrorReport report;
    ScriptedPrompter prompter;
    RecordingNotices notices;
    FixedClock clock;
    RecordingCopier copier;
    FakeDialogs dialogs;
    FakeResultView result;
    addin::Services services{store, report, prompter, screen, notices, clock, copier, dialogs, result};
};

}  // namespace vex::testing
