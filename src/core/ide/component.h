#pragma once
// One component of a project (module, form, class, ...) with its disk files and its code.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ide/code_module.h"

namespace vex::ide {

class SourceModule;

/// The `.vbp` key that listed the component.
enum class ComponentKind { Form, Module, Class, UserControl, UserDocument, PropertyPage, Designer };

/// The `.vbp` key of a kind ("Form", "Module", ...).
const char* KindName(ComponentKind kind);

class Component {
public:
    Component(std::string name, ComponentKind kind, std::filesystem::path source,
              std::unique_ptr<SourceModule> module);
    ~Component();
    Component(Component&&) noexcept;
    Component& operator=(Component&&) noexcept;

    /// The component's name (its `Attribute VB_Name`), as bytes of the file.
    const std::string& Name() const { return name_; }
    ComponentKind Kind() const { return kind_; }
    /// Renames the component, and its module's `Attribute VB_Name` when its code is loaded (saved with it).
    void Rename(std::string name);

    /// The source file, then its binary companion (.frx, .ctx, ...) when one exists on disk.
    long FileCount() const { return static_cast<long>(files_.size()); }
    /// i from 1 to FileCount; the path as the file system spells it.
    const std::filesystem::path& FileNames(long i) const;
    const std::vector<std::filesystem::path>& Files() const { return files_; }
    void AddFile(std::filesystem::path path) { files_.push_back(std::move(path)); }

    /// False when the source file could not be found or read: the component has no code then.
    bool Loaded() const { return loaded_; }

    /// The component's code. An unloaded component has an empty module that is never saved.
    CodeModule& GetCodeModule();
    const CodeModule& GetCodeModule() const;
    /// The same module with its file-level operations (serialize, changed, ...).
    SourceModule& Source() { return *module_; }
    const SourceModule& Source() const { return *module_; }

private:
    std::string name_;
    ComponentKind kind_;
    std::vector<std::filesystem::path> files_;
    std::unique_ptr<SourceModule> module_;
    bool loaded_ = false;
};

}  // namespace vex::ide
