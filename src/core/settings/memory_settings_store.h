#pragma once
// A settings store held in memory: for tests, and for hosts that must not touch the user's store.

#include <map>
#include <string>
#include <tuple>

#include "settings/settings_store.h"

namespace vex::settings {

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> Find(std::string_view app, std::string_view section,
                                    std::string_view key) const override {
        auto it = values_.find({std::string(app), std::string(section), std::string(key)});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        values_[{std::string(app), std::string(section), std::string(key)}] = std::string(value);
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace vex::settings
