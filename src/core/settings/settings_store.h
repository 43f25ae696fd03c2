#pragma once
// GetSetting / SaveSetting: text values addressed by application, section and key, kept per user.

#include <optional>
#include <string>
#include <string_view>

namespace vex::settings {

/// The application and section every VexTools value lives under.
inline constexpr std::string_view kApplication = "Compléments ORVEL";
inline constexpr std::string_view kSection = "VexTools";

/// A per-user store of text values (UTF-8). Implementations must round-trip every value exactly.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// The stored text, or nothing when the key was never written. A key stored empty reads as "".
    virtual std::optional<std::string> Find(std::string_view app, std::string_view section,
                                            std::string_view key) const = 0;

    /// Stores the text, creating application, section and key as needed. Throws RuntimeError on failure.
    virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) = 0;

    /// The stored text, or `defaultValue` when the key is absent.
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) const {
        auto v = Find(app, section, key);
        return v ? *v : std::string(defaultValue);
    }

    /// Shorthands for the add-in's own application and section.
    std::string Get(std::string_view key, std::string_view defaultValue) const {
        return GetSetting(kApplication, kSection, key, defaultValue);
    }
    void Save(std::string_view key, std::string_view value) { SaveSetting(kApplication, kSection, key, value); }
};

}  // namespace vex::settings
