#pragma once
// Sets environment variables for one test and puts the old values back afterwards.

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/platform.h"

namespace vex::testing {

class ScopedEnv {
public:
    /// Each pair is (name, value); a null value unsets the variable.
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> vars) {
        for (auto [name, value] : vars) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            SetEnv(name, value);
        }
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            SetEnv(it->first, it->second ? it->second->c_str() : nullptr);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace vex::testing
