#pragma once
// Work on independent items from several threads at once, for the steps of a run whose items do not
// depend on each other (parsing files, comparing texts, flushing files). Whoever calls keeps the order:
// each item writes only its own result, and the results are read in item order afterwards.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vex::util {

/// As many threads as the machine runs at once (at least 1).
inline size_t Cores() { return std::max(1u, std::thread::hardware_concurrency()); }

/// Calls `work(k)` once for every k in [0, count), from up to `threads` threads, the calling one
/// included; returns when every call has returned. Items are handed out in order, one at a time, so a
/// slow item does not hold up the others. When calls throw, the first exception met is rethrown once all
/// threads are done (the items not yet started are then skipped). When no thread can be started, the
/// calling thread does all the work.
template <typename Work>
void ForEachIndex(size_t count, size_t threads, Work&& work) {
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto run = [&] {
        for (size_t k; (k = next.fetch_add(1)) < count;) {
            try {
                work(k);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next = count;
            }
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (size_t t = 1; t < std::min(threads, count); ++t) helpers.emplace_back(run);
    } catch (const std::system_error&) {
        // No more threads: those started and this one do the rest.
    }
    run();
    for (auto& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vex::util
