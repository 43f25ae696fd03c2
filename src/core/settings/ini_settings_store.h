#pragma once
// The per-user settings store kept in an INI file. Application and section together name one INI section,
// "[application/section]"; each key is one "key=value" line. Values and names are escaped so that every
// text reads back exactly as saved (ini/ini_escape.h).

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace vex::settings {

class IniSettingsStore : public SettingsStore {
public:
    /// The store kept in `file`. Nothing is read or created until the first call.
    explicit IniSettingsStore(std::filesystem::path file);

    /// Reads the file afresh on every call, so a value saved by another process is seen at once.
    /// A missing file holds no values. Throws RuntimeError naming the file (and line) when it cannot be
    /// read or parsed.
    std::optional<std::string> Find(std::string_view app, std::string_view section,
                                    std::string_view key) const override;

    /// Locks the file, reads it again, sets the one value and writes the file atomically, creating its
    /// directory when missing; values saved meanwhile by other processes are kept. A file that cannot be
    /// parsed is never overwritten: throws RuntimeError naming it.
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;

    /// The names of the keys stored under application and section, in file order. Throws as Find.
    std::vector<std::string> Keys(std::string_view app, std::string_view section) const;

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace vex::settings
