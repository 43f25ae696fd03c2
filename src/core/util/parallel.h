#pragma once
// Work on independent items from several threads at once, for the steps of a run whose items do not
// depend on each other (parsing files, comparing texts, flushing files). Whoever calls keeps the order:
// each item writes only its own result, and the results are read in item order afterwards.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vex::util {

/// As many threads as the machine runs at once (at least 1).
inline size_t Cores() { return std::max(1u, std::thread::hardware_concurrency()); }

/// Runs `task` on a thread of the process's pool: an idle one, else one started for it. The pool's
/// threads outlive their tasks and wait for the next, so that a run which goes wide many times (every
/// load, comparison and flush of every project) starts its threads once. Returns false, running nothing,
/// when no thread is idle and none can be started.
bool RunOnPoolThread(std::function<void()> task);

/// Calls `work(k)` once for every k in [0, count), from up to `threads` threads, the calling one
/// included; returns when every call has returned. Items are handed out in order, one at a time, so a
/// slow item does not hold up the others. When calls throw, the first exception met is rethrown once all
/// threads are done (the items not yet started are then skipped). When no thread can be had, the
/// calling thread does all the work. `work` may itself call ForEachIndex.
template <typename Work>
void ForEachIndex(size_t count, size_t threads, Work&& work) {
    // Shared with the helpers: one may only get a thread after the call has returned, and then finds
    // every item taken.
    struct State {
        std::atomic<size_t> next{0};
        size_t busy = 0;  // helpers inside `run`, under `lock`
        std::exception_ptr failure;
        std::mutex lock;
        std::condition_variable done;
    };
    auto state = std::make_shared<State>();
    auto run = [count, &work](State& s) {
        for (size_t k; (k = s.next.fetch_add(1)) < count;) {
            try {
                work(k);
            } catch (...) {
                const std::lock_guard<std::mutex> guard(s.lock);
                if (!s.failure) s.failure = std::current_exception();
                s.next = count;
            }
        }
    };
    const size_t helpers = std::min(threads, count);
    for (size_t t = 1; t < helpers; ++t) {
        // A helper calls `work` only for an item it takes. One that is not yet busy when the call stops
        // waiting finds every item taken, and only touches the state it holds.
        const bool started = RunOnPoolThread([state, run] {
            {
                const std::lock_guard<std::mutex> guard(state->lock);
                ++state->busy;
            }
            run(*state);
            const std::lock_guard<std::mutex> guard(state->lock);
            --state->busy;
            state->done.notify_all();
        });
        if (!started) break;  // the threads started and this one do the rest
    }
    run(*state);
    // Every item is taken now (`next` is past the end); wait for those still running elsewhere.
    std::unique_lock<std::mutex> guard(state->lock);
    state->done.wait(guard, [&] { return state->busy == 0; });
    if (state->failure) std::rethrow_exception(state->failure);
}

}  // namespace vex::util
