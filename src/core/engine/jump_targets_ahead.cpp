#include "engine/jump_targets_ahead.h"

#include <system_error>

namespace vex::engine {

JumpTargetsAhead::JumpTargetsAhead(std::vector<const ide::CodeModule*> modules)
    : modules_(std::move(modules)), found_(modules_.size()), taken_(modules_.size(), false) {
    for (size_t k = 0; k < modules_.size(); ++k) index_.emplace(modules_[k], k);
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: Take() reads every module itself.
    }
}

JumpTargetsAhead::~JumpTargetsAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void JumpTargetsAhead::Run() {
    for (size_t k = 0;; ++k) {
        {
            std::lock_guard lock(mutex_);
            while (k < modules_.size() && taken_[k]) ++k;
            if (stop_ || k == modules_.size()) return;
            reading_ = k;
        }
        std::optional<std::map<ProcKey, JumpTargets>> targets;
        try {
            targets = CollectJumpTargets(*modules_[k]);
        } catch (...) {
            // Left for Take(), which reads the module again and meets the error where the walk would.
        }
        {
            std::lock_guard lock(mutex_);
            found_[k] = std::move(targets);
            reading_ = kNone;
        }
        changed_.notify_all();
    }
}

std::map<ProcKey, JumpTargets> JumpTargetsAhead::Take(const ide::CodeModule& module) {
    const auto it = index_.find(&module);
    if (it != index_.end()) {
        const size_t k = it->second;
        std::unique_lock lock(mutex_);
        taken_[k] = true;
        changed_.wait(lock, [&] { return reading_ != k; });
        if (found_[k]) return std::move(*found_[k]);
    }
    return CollectJumpTargets(module);
}

}  // namespace vex::engine
