#include "ini/ini_document.h"

// Byte strings only: values are UTF-8 and pass through untouched.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include "errors/runtime_error.h"
#include "text/chars.h"
#include "ini/locked_file.h"
#include "util/file_io.h"

namespace vex::ini {
namespace {

using text::IsBlank;

// The same line classes the INI reader knows; returns false for a line it would skip silently.
bool IsReadableLine(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') return true;
    if (line.front() == '[') {
        const size_t close = line.find(']');
        return close != std::string_view::npos && close == line.size() - 1;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    std::string_view key = line.substr(0, eq);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    return !key.empty();
}

// Line breaks as the INI reader sees them: CR, LF or CR LF.
void CheckLines(std::string_view text, const std::string& source) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    long lineNo = 1;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.find('\0') != std::string_view::npos || !IsReadableLine(line))
            throw errors::RuntimeError(
                errors::code::kPathFileAccess,
                source + " line " + std::to_string(lineNo) + ": cannot read \"" + std::string(line.substr(0, 60)) +
                    "\" (expected [section], key=value or a ; comment); the file is left unchanged");
        if (end == text.size()) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        ++lineNo;
    }
}

}  // namespace

struct IniDocument::Impl {
    // Keys unique, no multi-line values, quotes taken literally: the plainest reading of each line.
    CSimpleIniA ini{/*utf8*/ true, /*multiKey*/ false, /*multiLine*/ false};
    Impl() {
        ini.SetSpaces(false);
        ini.SetQuotes(false);
    }
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) {}
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

IniDocument IniDocument::Parse(std::string_view text, const std::string& source) {
    CheckLines(text, source);
    IniDocument doc;
    if (doc.impl_->ini.LoadData(text.data(), text.size()) < 0)
        throw errors::RuntimeError(errors::code::kPathFileAccess, source + ": cannot read the file");
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const std::string s(section), k(key);
    const char* v = impl_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
    if (!v) return std::nullopt;
    return std::string(v);
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    CSimpleIniA::TNamesDepend names;
    impl_->ini.GetAllKeys(std::string(section).c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> keys;
    for (const auto& name : names) keys.emplace_back(name.pItem);
    return keys;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string s(section), k(key), v(value);
    if (impl_->ini.SetValue(s.c_str(), k.c_str(), v.c_str()) < 0)
        throw errors::RuntimeError(errors::code::kInternal, "cannot store " + k);
}

std::string IniDocument::Text() const {
    std::string out;
    impl_->ini.Save(out, false);
    return out;
}

IniDocument ReadIniFile(const std::filesystem::path& path) {
    const auto text = ReadIfExists(path);
    if (!text) return IniDocument{};
    return IniDocument::Parse(*text, util::Display(path));
}

void UpdateIniFile(const std::filesystem::path& path, const std::function<void(IniDocument&)>& edit) {
    const auto file = ResolveSymlink(path);
    FileLock lock(file);
    IniDocument doc = ReadIniFile(file);
    edit(doc);
    util::WriteFileAtomic(file, doc.Text());
}

}  // namespace vex::ini
