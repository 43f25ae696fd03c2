#pragma once
// Windows only: the settings store VB's GetSetting and SaveSetting use, in the registry under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ value per key.
// Names and values go through the wide-character API, so "Compléments ORVEL" is the key VB6 itself
// reads, and values are the same text for both.

#include "settings/settings_store.h"

namespace vex::settings {

/// The registry path (below HKEY_CURRENT_USER) of VB's program settings.
inline constexpr const wchar_t* kVbSettingsKey = L"Software\\VB and VBA Program Settings";

class RegistrySettingsStore : public SettingsStore {
public:
    /// Reads the value afresh on every call. A value of another type than text reads as absent.
    /// Throws RuntimeError when the key exists but cannot be read.
    std::optional<std::string> Find(std::string_view app, std::string_view section,
                                    std::string_view key) const override;

    /// Creates the keys as needed and stores REG_SZ text. Throws RuntimeError naming the key on failure.
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
};

}  // namespace vex::settings
