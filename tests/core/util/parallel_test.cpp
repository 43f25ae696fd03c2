#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "util/parallel.h"

namespace vex::util {
namespace {

TEST(ForEachIndex, CallsEveryItemOnceHoweverManyThreadsAndCalls) {
    // Calls one after another reuse the pool's threads; each must still see every item once.
    for (size_t threads : {1u, 2u, 8u, 40u})
        for (size_t count : {0u, 1u, 3u, 1000u}) {
            std::vector<std::atomic<int>> calls(count);
            ForEachIndex(count, threads, [&](size_t k) { ++calls[k]; });
            for (size_t k = 0; k < count; ++k) ASSERT_EQ(calls[k], 1) << threads << " threads, item " << k;
        }
}

TEST(ForEachIndex, RethrowsTheFirstFailureAndSkipsTheItemsNotStarted) {
    // Which items other threads start before the failure is theirs to say; alone, the caller stops at it.
    for (size_t threads : {1u, 4u}) {
        std::atomic<size_t> ran{0};
        EXPECT_THROW(ForEachIndex(10'000, threads,
                                  [&](size_t k) {
                                      ++ran;
                                      if (k == 5) throw std::runtime_error("item 5");
                                  }),
                     std::runtime_error);
        if (threads == 1) EXPECT_EQ(ran, 6u);
    }
}

TEST(ForEachIndex, WorkMayGoWideItself) {
    // Every outer item waits on inner items: the pool must not run out of threads for them.
    std::atomic<size_t> inner{0};
    ForEachIndex(16, 16, [&](size_t) { ForEachIndex(8, 8, [&](size_t) { ++inner; }); });
    EXPECT_EQ(inner, 16u * 8u);
}

}  // namespace
}  // namespace vex::util
