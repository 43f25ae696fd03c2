#include "util/parallel.h"

#include <deque>
#ifndef _WIN32
#include <pthread.h>
#endif
#include <system_error>

namespace vex::util {

namespace {

class Pool {
public:
    bool Run(std::function<void()> task) {
        std::unique_lock<std::mutex> guard(lock_);
        tasks_.push_back(std::move(task));
        if (idle_ >= tasks_.size()) {
            wake_.notify_one();
            return true;
        }
        try {
            std::thread([this] { Serve(); }).detach();
        } catch (const std::system_error&) {
            tasks_.pop_back();
            return false;
        }
        return true;
    }

private:
    void Serve() {
        std::unique_lock<std::mutex> guard(lock_);
        for (;;) {
            ++idle_;
            wake_.wait(guard, [this] { return !tasks_.empty(); });
            --idle_;
            std::function<void()> task = std::move(tasks_.front());
            tasks_.pop_front();
            guard.unlock();
            task();
            guard.lock();
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    size_t idle_ = 0;  // threads waiting for a task
};

// Never destroyed: its threads wait on it until the process ends.
std::atomic<Pool*> shared{nullptr};

Pool& Shared() {
    static const bool once = [] {
        shared = new Pool();
#ifndef _WIN32
        // A forked child has none of the pool's threads (and its lock may have been held): it starts
        // a pool of its own, leaving the parent's copy untouched.
        ::pthread_atfork(nullptr, nullptr, [] { shared = new Pool(); });
#endif
        return true;
    }();
    (void)once;
    return *shared.load();
}
}  // namespace

bool RunOnPoolThread(std::function<void()> task) { return Shared().Run(std::move(task)); }

}  // namespace vex::util
