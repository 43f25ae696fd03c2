#pragma once
// A loaded project (what VBInst.ActiveVBProject gives the engine) and a group of projects.

#include <filesystem>
#include <string>
#include <vector>

#include "ide/component.h"

namespace vex::ide {

class Project {
public:
    /// The project's own file (.vbp), or the module file for a project made of one module.
    const std::filesystem::path& FileName() const { return fileName_; }
    void SetFileName(std::filesystem::path p) { fileName_ = std::move(p); }

    /// The project's name (`Name=` of the .vbp, or the file's stem).
    const std::string& Name() const { return name_; }
    void SetName(std::string n) { name_ = std::move(n); }

    /// Components in the order the .vbp lists them (VBComponents).
    std::vector<Component>& VBComponents() { return components_; }
    const std::vector<Component>& VBComponents() const { return components_; }

    /// The first component whose name equals `name` exactly, or null.
    Component* FindComponent(std::string_view name);

private:
    std::filesystem::path fileName_;
    std::string name_;
    std::vector<Component> components_;
};

/// A source file whose code could not be taken for editing: it cannot be read, is not VB6 text, or holds a
/// procedure that is never closed. Its component stays in the project without code and is never saved.
struct LoadFailure {
    std::filesystem::path file;
    std::string message;  ///< names the file, and the line where one applies
};

/// What a path given on the command line opens: one project, a group, or one module file.
class Workspace {
public:
    std::vector<Project>& Projects() { return projects_; }
    const std::vector<Project>& Projects() const { return projects_; }

    /// The active project (a group's StartupProject; the only project otherwise). Null when empty.
    Project* ActiveVBProject() { return projects_.empty() ? nullptr : &projects_[active_]; }
    const Project* ActiveVBProject() const { return projects_.empty() ? nullptr : &projects_[active_]; }
    void SetActive(size_t index) { active_ = index; }

    /// Problems met while loading that did not stop it (missing files, VB6 limits), one per line.
    std::vector<std::string>& Warnings() { return warnings_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

    /// What a load met that is normal but worth telling on request (a module outside the project's
    /// folder), one per line.
    std::vector<std::string>& Notes() { return notes_; }
    const std::vector<std::string>& Notes() const { return notes_; }

    /// Source files left out of the run, in load order; the rest of the workspace is usable.
    std::vector<LoadFailure>& Failures() { return failures_; }
    const std::vector<LoadFailure>& Failures() const { return failures_; }

private:
    std::vector<Project> projects_;
    size_t active_ = 0;
    std::vector<std::string> warnings_;
    std::vector<std::string> notes_;
    std::vector<LoadFailure> failures_;
};

}  // namespace vex::ide
