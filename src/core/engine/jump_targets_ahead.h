#pragma once
// The numbering pass reads every component's jump targets before it numbers that component's lines.
// JumpTargetsAhead reads them on a thread of its own, in the order the walk meets the components, while
// the walk numbers the components before: the walk then finds them ready.

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/jump_targets.h"

namespace vex::engine {

/// Collects CollectJumpTargets of `modules` ahead, one after the other, on a thread of its own.
///
/// The modules must be such that reading one while another is edited is safe (they share nothing), and
/// nothing may read or edit a module before the caller has taken it (a read may build its procedure
/// index): Take() marks the module as the walk's, waits while the thread is reading it, and from then on
/// the thread leaves it alone. A module read ahead that
/// threw is read again by Take(), which then throws as CollectJumpTargets would have.
class JumpTargetsAhead {
public:
    explicit JumpTargetsAhead(std::vector<const ide::CodeModule*> modules);
    /// Stops the thread (after the module it is reading) and waits for it.
    ~JumpTargetsAhead();
    JumpTargetsAhead(const JumpTargetsAhead&) = delete;
    JumpTargetsAhead& operator=(const JumpTargetsAhead&) = delete;

    /// CollectJumpTargets(module), read ahead when it could be. Call it once per module, from one thread.
    std::map<ProcKey, JumpTargets> Take(const ide::CodeModule& module);

private:
    void Run();

    std::vector<const ide::CodeModule*> modules_;
    std::unordered_map<const ide::CodeModule*, size_t> index_;
    std::vector<std::optional<std::map<ProcKey, JumpTargets>>> found_;
    std::vector<bool> taken_;
    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t reading_ = kNone;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

}  // namespace vex::engine
