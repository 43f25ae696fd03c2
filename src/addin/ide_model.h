#pragma once
// The IDE's extensibility object model as the add-in uses it (VBInst and what hangs from it). The desktop
// host implements it over its own windows; a host inside the VB6 IDE would implement it over VBIDE's COM
// objects one call for one call. Failing operations throw errors::RuntimeError.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vex::ide {
class Component;
class Project;
}  // namespace vex::ide

namespace vex::addin {

class ToolWindowView;

/// A picture given to the clipboard and to a button's face: 24-bit pixels, rows from the top, R G B bytes.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  ///< width * height * 3 bytes
    bool operator==(const Picture&) const = default;
};

/// Ends an event subscription when destroyed (the end of a `WithEvents` variable).
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Reset();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Reset(); }
    void Reset() {
        if (cancel_) std::exchange(cancel_, nullptr)();
    }
    bool Active() const { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

/// A window the IDE hosts (Window).
class Window {
public:
    virtual ~Window() = default;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
};

/// The IDE's entry for one add-in (AddIn).
class AddIn {
public:
    virtual ~AddIn() = default;
    virtual std::string ProgId() const = 0;
    /// AddIn.Connect: whether the IDE regards the add-in as connected.
    virtual bool Connect() const = 0;
};

/// A control the add-in put on a command bar (CommandBarControl of type 1, a push button).
class CommandBarButton {
public:
    virtual ~CommandBarButton() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    /// The face becomes the picture on the clipboard.
    virtual void PasteFace() = 0;
    /// The button leaves its bar.
    virtual void Delete() = 0;
};

/// One of the IDE's command bars (CommandBar). Controls are numbered from 1.
class CommandBar {
public:
    virtual ~CommandBar() = default;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    /// Controls.Count.
    virtual long ControlsCount() const = 0;
    /// Controls.Add(Type:=1, Before:=before): a new push button that takes position `before`, the control
    /// that stood there and those after it move one place on.
    virtual std::shared_ptr<CommandBarButton> AddButton(long before) = 0;
};

/// VBComponentsEvents, requested for no project: components of every open project.
class ComponentEvents {
public:
    virtual ~ComponentEvents() = default;
    virtual void ItemAdded(const ide::Component& component) = 0;
    virtual void ItemRemoved(const ide::Component& component) = 0;
    /// `component` already bears its new name.
    virtual void ItemRenamed(const ide::Component& component, std::string_view oldName) = 0;
};

/// VBProjectsEvents.
class ProjectEvents {
public:
    virtual ~ProjectEvents() = default;
    virtual void ItemActivated(const ide::Project& project) = 0;
    virtual void ItemRenamed(const ide::Project& project, std::string_view oldName) = 0;
};

/// What a created tool window gives back: the IDE's window and the document inside it (DocObj).
struct CreatedToolWindow {
    std::shared_ptr<Window> window;
    ToolWindowView* document = nullptr;  ///< the host's widgets of the window; lives as long as `window`
};

/// VBInst: the IDE's root object (VBE).
class Vbe {
public:
    virtual ~Vbe() = default;

    /// VBInst.ActiveVBProject; null when no project is open.
    virtual ide::Project* ActiveVBProject() = 0;

    /// Windows.CreateToolWindow(addIn, progId, caption, guidPosition, DocObj). The host remembers the
    /// window's dock position under `guidPosition` from one run to the next.
    virtual CreatedToolWindow CreateToolWindow(AddIn& addIn, std::string_view progId, std::string_view caption,
                                               std::string_view guidPosition) = 0;

    /// Addins(progId). Throws RuntimeError when no entry has that identifier.
    virtual AddIn& Addins(std::string_view progId) = 0;
    /// Addins(1): the collection's first entry. Throws RuntimeError when the collection is empty.
    virtual AddIn& FirstAddin() = 0;

    /// CommandBars(index), numbered from 1 (1: the menu bar, 2: the standard toolbar). Throws when absent.
    virtual CommandBar& CommandBars(int index) = 0;

    /// Events.CommandBarEvents(button): `onClick` runs on each click of the button.
    virtual Subscription CommandBarEvents(CommandBarButton& button, std::function<void()> onClick) = 0;
    /// Events.VBComponentsEvents(Nothing).
    virtual Subscription VBComponentsEvents(ComponentEvents& sink) = 0;
    /// Events.VBProjectsEvents.
    virtual Subscription VBProjectsEvents(ProjectEvents& sink) = 0;

    /// Clipboard.SetData: the clipboard holds the picture; its previous content is lost.
    virtual void ClipboardSetData(const Picture& picture) = 0;
};

}  // namespace vex::addin
