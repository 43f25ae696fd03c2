#include "ide/component.h"

#include "errors/runtime_error.h"
#include "ide/source_module.h"

namespace vex::ide {

const char* KindName(ComponentKind kind) {
    switch (kind) {
        case ComponentKind::Form: return "Form";
        case ComponentKind::Module: return "Module";
        case ComponentKind::Class: return "Class";
        case ComponentKind::UserControl: return "UserControl";
        case ComponentKind::UserDocument: return "UserDocument";
        case ComponentKind::PropertyPage: return "PropertyPage";
        case ComponentKind::Designer: return "Designer";
    }
    return "Module";
}

Component::Component(std::string name, ComponentKind kind, std::filesystem::path source,
                     std::unique_ptr<SourceModule> module)
    : name_(std::move(name)), kind_(kind), module_(std::move(module)), loaded_(module_ != nullptr) {
    files_.push_back(std::move(source));
    if (!module_) module_ = SourceModule::Parse({});
}

Component::~Component() = default;
Component::Component(Component&&) noexcept = default;
Component& Component::operator=(Component&&) noexcept = default;

const std::filesystem::path& Component::FileNames(long i) const {
    if (i < 1 || i > FileCount())
        throw errors::RuntimeError(errors::code::kSubscriptOutOfRange,
                                   "FileNames(" + std::to_string(i) + "): the component has " +
                                       std::to_string(FileCount()) + " file(s)");
    return files_[static_cast<size_t>(i - 1)];
}

void Component::Rename(std::string name) {
    if (loaded_) module_->SetVBName(name);
    name_ = std::move(name);
}

CodeModule& Component::GetCodeModule() { return *module_; }

const CodeModule& Component::GetCodeModule() const { return *module_; }

}  // namespace vex::ide
