#include "engine/jump_targets_ahead.h"

#include <gtest/gtest.h>

#include "fakes/host_fixture.h"
#include "ide/source_module.h"

namespace vex::engine {
namespace {

std::unique_ptr<ide::SourceModule> ModuleJumpingTo(int n) {
    const std::string target = std::to_string(n);
    return ide::SourceModule::Parse(testing::Crlf({"Sub A()", target + " x = 1", "If x Then GoTo " + target,
                                                   "Resume " + std::to_string(n + 1), "End Sub"}));
}

// Whatever the order modules are taken in, each gives what CollectJumpTargets gives, read before the
// walk edited it; a module taken is the caller's, to edit while the thread reads the others.
TEST(JumpTargetsAhead, GivesWhatTheModulesHeldWhenTakenInAnyOrder) {
    for (const std::vector<size_t>& order : {std::vector<size_t>{0, 1, 2, 3}, {3, 1}, {2, 0, 3, 1}, {}}) {
        std::vector<std::unique_ptr<ide::SourceModule>> modules;
        std::vector<const ide::CodeModule*> given;
        for (int k = 0; k < 4; ++k) given.push_back((modules.emplace_back(ModuleJumpingTo(10 * (k + 1)))).get());
        const auto stranger = ModuleJumpingTo(90);
        JumpTargetsAhead ahead(given);
        for (size_t k : order) {
            const NumberSet taken = ahead.Take(*modules[k]).at({"A", ide::ProcKind::Proc}).numbers;
            EXPECT_EQ(taken, CollectJumpTargets(*modules[k]).at({"A", ide::ProcKind::Proc}).numbers);
            modules[k]->ReplaceLine(3, "GoTo 99");  // the walk's own now
        }
        EXPECT_EQ(ahead.Take(*stranger).at({"A", ide::ProcKind::Proc}).numbers, (NumberSet{"90", "91"}));
    }
}

}  // namespace
}  // namespace vex::engine
