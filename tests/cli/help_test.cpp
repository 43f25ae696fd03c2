// What --help and --version tell: a verb's options, the global ones, the exit codes and an example.

#include <gtest/gtest.h>

#include "fakes/cli_sandbox.h"

namespace vex::testing {
namespace {

TEST(Help, EveryVerbShowsItsOptionsTheGlobalOnesTheExitCodesAndAnExample) {
    CliSandbox box;
    const struct {
        std::vector<std::string> verb;
        const char* ownOption;
    } cases[] = {{{"list"}, "PROJECT"},        {{"procs"}, "COMPONENT"},      {{"show"}, "COMPONENT"},
                 {{"number"}, "--dry-run"},    {{"unnumber"}, "--check"},      {{"delete-lines"}, "--keyword"},
                 {{"add-handlers"}, "--log"},  {{"remove-handlers"}, "--color"}, {{"indent"}, "--component"},
                 {{"backup"}, "--to"},         {{"options", "list"}, "PATH"},  {{"options", "set"}, "--raw"}};
    for (const auto& c : cases) {
        auto args = c.verb;
        args.push_back("--help");
        const auto r = box.Vex(args);
        EXPECT_EQ(r.code, 0) << c.verb.back();
        std::string name;
        for (const auto& word : c.verb) name += " " + word;
        for (const std::string& part : {std::string(c.ownOption), std::string("Global options"),
                                       std::string("--set KEY=VALUE"), std::string("-q,--quiet"),
                                       std::string("Exit codes:\n  0  success"), "Example:\n  vextools" + name})
            EXPECT_NE(r.out.find(part), std::string::npos) << name << ": no " << part << "\n" << r.out;
    }
    const auto version = box.Vex({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("vextools ", 0), 0u) << version.out;
}

TEST(Help, ThePreCommitHooksRunVerbsThatExist) {
    CliSandbox box;
    std::istringstream hooks(ReadFile(std::filesystem::path(VEXTOOLS_SOURCE_DIR) / ".pre-commit-hooks.yaml"));
    int entries = 0;
    for (std::string line; std::getline(hooks, line);) {
        const std::string prefix = "  entry: vextools ";
        if (line.rfind(prefix, 0) != 0) continue;
        ++entries;
        std::vector<std::string> args;
        std::istringstream words(line.substr(prefix.size()));
        for (std::string word; words >> word;) args.push_back(word);
        args.push_back("--help");
        EXPECT_EQ(box.Vex(args).code, 0) << line;
    }
    EXPECT_EQ(entries, 3);
}

}  // namespace
}  // namespace vex::testing
