// The add-handlers, remove-handlers and indent verbs, run in-process on a copy of the sample project.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "cli/app.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class HandlerVerbs : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("vextools-handlers-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        fs::copy(fs::path(VEXTOOLS_SOURCE_DIR) / "examples" / "sample", root_ / "sample");
        for (const auto& e : fs::directory_iterator(root_ / "sample"))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
        project_ = (root_ / "sample" / "Sample.vbp").string();
        settings_ = (root_ / "settings.ini").string();
        if (const char* home = std::getenv("VEXTOOLS_HOME")) savedHome_ = home;
        ::setenv("VEXTOOLS_HOME", root_.c_str(), 1);  // the error log stays in the test's folder
    }
    void TearDown() override {
        if (savedHome_)
            ::setenv("VEXTOOLS_HOME", savedHome_->c_str(), 1);
        else
            ::unsetenv("VEXTOOLS_HOME");
        fs::remove_all(root_);
    }

    int Vex(std::vector<std::string> args) {
        args.insert(args.begin(), {"vextools", "--settings", settings_, "--on-error", "abort"});
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        out_.str({});
        err_.str({});
        return cli::Run(static_cast<int>(argv.size()), argv.data(), out_, err_);
    }

    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(root_ / "sample"))
            if (e.path().extension() != ".md") files[e.path().filename().string()] = ReadBytes(e.path());
        return files;
    }

    fs::path root_;
    std::optional<std::string> savedHome_;
    std::string project_, settings_;
    std::ostringstream out_, err_;
};

TEST_F(HandlerVerbs, AddTwiceEqualsOnceAndRemoveRestoresExactly) {
    const auto original = Snapshot();
    EXPECT_EQ(Vex({"add-handlers", project_, "--check"}), 1);
    EXPECT_TRUE(Snapshot() == original) << "--check writes nothing";

    EXPECT_EQ(Vex({"add-handlers", project_}), 0) << err_.str();
    const auto added = Snapshot();
    EXPECT_FALSE(added == original);
    // The result log is printed as the results window shows it, one line per line.
    const std::string log = out_.str();
    EXPECT_EQ(log.find("\r"), std::string::npos);
    EXPECT_NE(log.find("\n Procedure with new error handler.\n " + std::string(45, '-') + "\n\nfrmMain\n"),
              std::string::npos)
        << log;
    EXPECT_GT(Count(log, "-> Add beginning code"), 10u);
    EXPECT_EQ(Count(log, "-> Add beginning code"), Count(log, "-> Add terminate code"));

    EXPECT_EQ(Vex({"add-handlers", project_}), 0) << err_.str();
    EXPECT_TRUE(Snapshot() == added) << "a second add changed files";
    EXPECT_EQ(Count(out_.str(), "-> Add"), 0u);

    const fs::path logFile = root_ / "Resultat.txt";
    EXPECT_EQ(Vex({"remove-handlers", project_, "--log", logFile.string()}), 0) << err_.str();
    EXPECT_TRUE(Snapshot() == original) << "remove did not restore the project";
    EXPECT_NE(out_.str().find(" Procedure with remove code."), std::string::npos);
    EXPECT_GT(Count(out_.str(), "   2 section(s) removed\n"), 10u);
    const std::string saved = ReadBytes(logFile);
    EXPECT_NE(saved.find("\r\n Procedure with remove code.\r\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("section(s) removed\r\n"));
}

TEST_F(HandlerVerbs, IndentTwiceEqualsOnceAndDryRunWritesNothing) {
    const auto original = Snapshot();
    EXPECT_EQ(Vex({"indent", project_, "--dry-run"}), 0) << err_.str();
    EXPECT_TRUE(Snapshot() == original);
    EXPECT_NE(out_.str().find("@@"), std::string::npos) << "a unified diff is printed";

    EXPECT_EQ(Vex({"indent", project_, "--component", "modUtil"}), 0) << err_.str();
    const auto once = Snapshot();
    EXPECT_FALSE(once == original);
    EXPECT_EQ(once.at("frmMain.frm"), original.at("frmMain.frm")) << "only the named component changes";
    EXPECT_EQ(out_.str(), "") << "indentation writes no result log";
    EXPECT_EQ(Vex({"indent", project_, "--component", "modUtil", "--check"}), 0);
}

TEST_F(HandlerVerbs, AnAbortedRunSavesNothing) {
    const auto original = Snapshot();
    ASSERT_EQ(Vex({"options", "set", "--raw", "Tabulation", "x"}), 0) << err_.str();
    EXPECT_EQ(Vex({"indent", project_}), 3);
    EXPECT_NE(err_.str().find("modEtude // StudyTabulation"), std::string::npos) << err_.str();
    EXPECT_TRUE(Snapshot() == original);
}

TEST_F(HandlerVerbs, ViewResultOffPrintsNoLog) {
    ASSERT_EQ(Vex({"options", "set", "ViewResult", "0"}), 0) << err_.str();
    EXPECT_EQ(Vex({"add-handlers", project_, "--check"}), 1);
    EXPECT_EQ(out_.str(), "");
}

}  // namespace
}  // namespace vex::cli
