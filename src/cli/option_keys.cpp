#include "cli/option_keys.h"

#include <vector>

#include "session/session.h"
#include "settings/options.h"
#include "settings/options_model.h"

namespace vex::cli {

std::string ResolveKey(std::string_view name, std::string& problem) {
    if (auto key = settings::CanonicalKey(name); !key.empty()) return std::string(key);
    const std::vector<std::string> keys(settings::kAllKeys.begin(), settings::kAllKeys.end());
    const auto nearest = session::NearestWords(std::string(name), keys);
    problem = "unknown option key \"" + std::string(name) + "\"";
    const auto& named = nearest.empty() ? keys : nearest;
    problem += nearest.empty() ? "; the keys are" : "; did you mean";
    for (size_t i = 0; i < named.size(); ++i) problem += (i ? ", \"" : " \"") + named[i] + "\"";
    if (!nearest.empty()) problem += "?";
    return {};
}

std::string WithLineBreaks(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value.substr(i, 4) == "\\r\\n") {
            out += "\r\n";
            i += 3;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string AddRunValue(std::string_view argument, settings::SettingsStore& into) {
    const size_t equals = argument.find('=');
    if (equals == std::string_view::npos) return "--set takes KEY=VALUE, not \"" + std::string(argument) + "\"";
    std::string problem;
    const std::string key = ResolveKey(argument.substr(0, equals), problem);
    if (key.empty()) return problem;
    const std::string typed(argument.substr(equals + 1));
    const std::string value = WithLineBreaks(typed);
    switch (settings::SetOption(into, key, value)) {
        case settings::SetOutcome::Stored: return {};
        case settings::SetOutcome::NotNumeric: return key + " takes a number, not \"" + typed + "\"";
        case settings::SetOutcome::Refused: return settings::OptionProblem(key, value);
    }
    return {};
}

}  // namespace vex::cli
