#include "ide/gap_buffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vex::ide {
namespace {

// Random inserts and erases anywhere must leave the same sequence as a plain vector.
TEST(GapBuffer, BehavesLikeAVector) {
    GapBuffer<std::string> gap;
    std::vector<std::string> plain;
    std::mt19937 rng(3);
    for (int step = 0; step < 20000; ++step) {
        const size_t pos = plain.empty() ? 0 : rng() % (plain.size() + 1);
        const std::string v = std::to_string(step);
        switch (rng() % 3) {
            case 0:
                gap.insert(pos, v);
                plain.insert(plain.begin() + static_cast<long>(pos), v);
                break;
            case 1: {
                std::vector<std::string> many = {v + "a", v + "b", v + "c"};
                gap.insert(pos, std::vector<std::string>(many));
                plain.insert(plain.begin() + static_cast<long>(pos), many.begin(), many.end());
                break;
            }
            default:
                if (pos < plain.size()) {
                    const size_t n = std::min<size_t>(1 + rng() % 3, plain.size() - pos);
                    gap.erase(pos, n);
                    plain.erase(plain.begin() + static_cast<long>(pos), plain.begin() + static_cast<long>(pos + n));
                }
        }
        ASSERT_EQ(gap.size(), plain.size());
        if (step % 97 == 0) {
            for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(gap[i], plain[i]) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace vex::ide
