// The number, unnumber and delete-lines verbs, run in-process on a copy of the sample project.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>

#include "cli/app.h"
#include "settings/ini_settings_store.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CodeVerbs : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("vextools-verbs-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        fs::copy(fs::path(VEXTOOLS_SOURCE_DIR) / "examples" / "sample", root_ / "sample");
        for (const auto& e : fs::directory_iterator(root_ / "sample"))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
        project_ = (root_ / "sample" / "Sample.vbp").string();
        settings_ = (root_ / "settings.ini").string();
        // The error log goes to the add-in's directory: keep it inside the test's folder.
        if (const char* home = std::getenv("VEXTOOLS_HOME")) savedHome_ = home;
        ::setenv("VEXTOOLS_HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        if (savedHome_) ::setenv("VEXTOOLS_HOME", savedHome_->c_str(), 1);
        else ::unsetenv("VEXTOOLS_HOME");
        fs::remove_all(root_);
    }

    /// Runs vextools with the test's settings file and --on-error abort; returns the exit code.
    int Vex(std::vector<std::string> args) {
        args.insert(args.begin(), {"vextools", "--settings", settings_, "--on-error", "abort"});
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        out_.str({});
        err_.str({});
        return cli::Run(static_cast<int>(argv.size()), argv.data(), out_, err_);
    }

    /// The project's files (the README aside), by name.
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

TEST_F(CodeVerbs, NumberThenUnnumberRestoresTheProjectExactly) {
    const auto original = Snapshot();
    EXPECT_EQ(Vex({"number", project_, "--check"}), 1);
    EXPECT_TRUE(Snapshot() == original) << "--check writes nothing";

    EXPECT_EQ(Vex({"number", project_}), 0) << err_.str();
    EXPECT_NE(err_.str().find("3 component(s) changed, 173 line(s) changed"), std::string::npos) << err_.str();
    const auto numbered = Snapshot();
    EXPECT_FALSE(numbered == original);
    EXPECT_EQ(numbered.at("frmMain.frx"), original.at("frmMain.frx"));

    EXPECT_EQ(Vex({"number", project_, "--check"}), 0) << "numbering twice equals numbering once";
    EXPECT_EQ(Vex({"unnumber", project_}), 0) << err_.str();
    EXPECT_TRUE(Snapshot() == original);
}

TEST_F(CodeVerbs, DryRunPrintsADiffAndWritesNothing) {
    const auto original = Snapshot();
    EXPECT_EQ(Vex({"number", project_, "--dry-run", "--component", "modUtil"}), 0) << err_.str();
    EXPECT_TRUE(Snapshot() == original);
    const std::string diff = out_.str();
    EXPECT_NE(diff.find("+++ "), std::string::npos);
    EXPECT_NE(diff.find("modUtil.bas"), std::string::npos);
    EXPECT_EQ(diff.find("frmMain.frm"), std::string::npos) << "only the chosen component";
    EXPECT_NE(diff.find("\n+10 "), std::string::npos);
    EXPECT_NE(err_.str().find("1 component(s) would change"), std::string::npos) << err_.str();
}

TEST_F(CodeVerbs, UnknownComponentIsAUsageErrorWithSuggestions) {
    EXPECT_EQ(Vex({"number", project_, "--component", "modutil"}), 2);
    EXPECT_NE(err_.str().find("no component named \"modutil\""), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("did you mean modUtil"), std::string::npos) << err_.str();
}

TEST_F(CodeVerbs, DeleteLinesTakesTheKeywordAsGiven) {
    const auto original = Snapshot();
    EXPECT_EQ(Vex({"delete-lines", project_, "--keyword", ""}), 0);
    EXPECT_TRUE(Snapshot() == original) << "an empty keyword does nothing";
    EXPECT_EQ(Vex({"delete-lines", project_, "--keyword", "\xE2\x82\xAC\xF0\x9F\x98\x80"}), 2) << "no code holds an emoji";

    EXPECT_EQ(Vex({"delete-lines", project_, "--keyword", "debug.print"}), 0);
    EXPECT_TRUE(Snapshot() == original) << "letter case counts";
    EXPECT_EQ(Vex({"delete-lines", project_}), 0) << err_.str();
    for (const auto& [name, bytes] : Snapshot()) EXPECT_EQ(bytes.find("Debug.Print"), std::string::npos) << name;
}

TEST_F(CodeVerbs, AnAbortedRunSavesNothingAndTheLogIsAppended) {
    settings::IniSettingsStore(settings_).Save("LineJump", "abc");
    const auto original = Snapshot();
    const std::string log = (root_ / "result.txt").string();
    EXPECT_EQ(Vex({"number", project_, "--log", log}), 3);
    EXPECT_TRUE(Snapshot() == original);
    EXPECT_NE(err_.str().find("nothing saved"), std::string::npos) << err_.str();
    EXPECT_NE(ReadBytes(root_ / "List_Err.log").find("modEtude // StudyLineNumber"), std::string::npos);
    EXPECT_EQ(Vex({"unnumber", project_, "--log", log}), 0);
    EXPECT_EQ(ReadBytes(log), "\r\n\r\n") << "each run appends its (empty) log and a line break";
}

}  // namespace
}  // namespace vex::cli
