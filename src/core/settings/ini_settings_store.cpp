#include "settings/ini_settings_store.h"

#include "errors/runtime_error.h"
#include "ini/ini_document.h"
#include "ini/ini_escape.h"
#include "util/file_io.h"

namespace vex::settings {
namespace {

std::string SectionName(std::string_view app, std::string_view section) {
    // "/" is escaped inside each name, so the join is unambiguous.
    return ini::EscapeName(app) + "/" + ini::EscapeName(section);
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> IniSettingsStore::Find(std::string_view app, std::string_view section,
                                                  std::string_view key) const {
    const auto raw = ini::ReadIniFile(file_).Get(SectionName(app, section), ini::EscapeName(key));
    if (!raw) return std::nullopt;
    return ini::Unescape(*raw);
}

std::vector<std::string> IniSettingsStore::Keys(std::string_view app, std::string_view section) const {
    std::vector<std::string> keys = ini::ReadIniFile(file_).Keys(SectionName(app, section));
    for (auto& k : keys) k = ini::Unescape(k);
    return keys;
}

void IniSettingsStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                   std::string_view value) {
    std::error_code ec;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec)
        throw errors::RuntimeError(errors::code::kPathNotFound,
                                   util::Display(file_) + ": cannot create its directory: " + ec.message());
    ini::UpdateIniFile(file_, [&](ini::IniDocument& doc) {
        doc.Set(SectionName(app, section), ini::EscapeName(key), ini::EscapeValue(value));
    });
}

}  // namespace vex::settings
