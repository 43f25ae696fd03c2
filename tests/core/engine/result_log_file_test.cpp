#include "engine/result_log_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "errors/runtime_error.h"

namespace vex::engine {
namespace {

namespace fs = std::filesystem;

TEST(ResultLogFile, AppendsTheTextAndALineBreakCreatingTheFile) {
    const fs::path dir = fs::temp_directory_path() / ("vextools-log-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "Resultat.txt";
    fs::remove(file);
    SaveResultLog(file, "");
    SaveResultLog(file, "\r\nModule1: 2 handler(s)");
    SaveResultLog(file, "\r\nModule1: 2 handler(s)");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "\r\n\r\nModule1: 2 handler(s)\r\n\r\nModule1: 2 handler(s)\r\n");
    EXPECT_THROW(SaveResultLog(dir / "missing" / "Resultat.txt", "x"), errors::RuntimeError);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vex::engine
