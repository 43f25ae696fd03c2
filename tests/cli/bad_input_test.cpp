// Every bad input a user may hand the tool, run end to end on the sample project: each is named with its
// file (and line), nothing is lost, and the run goes on where it safely can. docs/robustness.md lists
// these rows.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>
#endif

#include "fakes/cli_sandbox.h"
#include "fakes/platform.h"
#include "util/temporary_files.h"

namespace vex::cli {
namespace {
namespace fs = std::filesystem;
using vex::testing::CliResult;
using vex::testing::CliSandbox;
using vex::testing::Count;
using vex::testing::ReadFile;
using vex::testing::WriteFile;

/// Where a row's run happens.
enum class Runner {
    InProcess,
    Unprivileged,  ///< a child process without the rights that ignore file permissions (POSIX)
    SmallFiles,    ///< a child process whose files cannot grow past 6,000 bytes, as on a full disk (POSIX)
};

#ifndef _WIN32
// Runs `args` in a child process as `runner` says; what it printed and its exit code.
CliResult InChild(const CliSandbox& box, const std::vector<std::string>& args, Runner runner) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {-1, "", "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (runner == Runner::Unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        if (runner == Runner::SmallFiles) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{6000, 6000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        const CliResult r = box.Vex(args);
        const std::string text = r.err + r.out;
        for (size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(pipeFds[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        ::_exit(r.code);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", text};
}
#endif

// The sample project's file list with `lines` added after its first line (Type=).
void AddToProject(const CliSandbox& box, const std::string& lines) {
    const fs::path vbp = box.project;
    std::string text = ReadFile(vbp);
    text.insert(text.find("\r\n") + 2, lines);
    WriteFile(vbp, text);
}

std::string ModuleOf(const std::string& name, long procedures, long linesEach, size_t lineBytes = 8) {
    std::string text = "Attribute VB_Name = \"" + name + "\"\r\n";
    for (long p = 0; p < procedures; ++p) {
        text += "Sub S" + std::to_string(p) + "()\r\n";
        for (long k = 0; k < linesEach; ++k) text += "    x = \"" + std::string(lineBytes, 'x') + "\"\r\n";
        text += "End Sub\r\n";
    }
    return text;
}

void Prepend(const fs::path& file, const std::string& bytes) { WriteFile(file, bytes + ReadFile(file)); }

struct Row {
    const char* input;
    std::function<void(CliSandbox&)> spoil;  // makes the bad input in a fresh sandbox
    std::vector<std::string> args;           // "P" stands for the sample project
    int code;
    std::vector<std::string> said;           // texts the run prints
    std::vector<std::string> untouched;      // sample files that keep their bytes
    std::vector<std::string> saved;          // sample files that are rewritten
    Runner runner = Runner::InProcess;
    std::function<void(const CliSandbox&, const CliResult&)> check = {};
    std::vector<std::string> unsaid = {};
};

const std::vector<std::string> kAll = {"modUtil.bas", "clsCustomer.cls", "frmMain.frm"};
const std::vector<std::string> kNumber = {"number", "P"};
const std::string kBom = "\xEF\xBB\xBF";

TEST(BadInput, EachIsNamedAndNothingIsLost) {
    // What numbering the sample writes when all is well.
    CliSandbox reference;
    ASSERT_EQ(reference.Vex({"number", reference.project}).code, 0);
    const auto numbered = reference.Snapshot();
    auto util = [](const CliSandbox& box) { return box.dir / "sample" / "modUtil.bas"; };
    auto saidOnce = [](const CliSandbox&, const CliResult& r) {
        EXPECT_EQ(Count(r.err, "the error log was not written"), 1u) << "said once";
    };
    auto outside = [](CliSandbox& b) {
        WriteFile(b.dir / "outside" / "x.bas", ModuleOf("x", 1, 1));
        AddToProject(b, "Module=x; ..\\outside\\x.bas\r\n");
    };
    auto failLineJump = [](CliSandbox& box) { ASSERT_EQ(box.Vex({"options", "set", "--raw", "LineJump", "abc"}).code, 0); };

    const Row rows[] = {
        {"a UTF-8 byte order mark", [&](CliSandbox& b) { Prepend(util(b), kBom); }, kNumber, 0,
         {"modUtil.bas: starts with a UTF-8 byte order mark, which VB6 does not write; kept as it is"}, {}, kAll,
         Runner::InProcess,
         [&](const CliSandbox& b, const CliResult&) {
             EXPECT_EQ(ReadFile(util(b)), kBom + numbered.at("modUtil.bas")) << "the mark is kept, the rest as always";
         }},
        {"mixed line endings",
         [&](CliSandbox& b) {
             std::string text = ReadFile(util(b));
             const size_t line = text.find("\r\n", text.find("Dim "));
             text.erase(line, 1);  // one line of code inside a procedure ends in LF alone
             WriteFile(util(b), text);
         },
         kNumber, 0, {"modUtil.bas:", ": line ends in LF where line 1 ends in CR LF; each line keeps its own ending"}, {},
         kAll, Runner::InProcess,
         [&](const CliSandbox& b, const CliResult&) {
             const std::string text = ReadFile(util(b));
             EXPECT_EQ(Count(text, "\n") - Count(text, "\r\n"), 1u) << "the numbered line keeps its LF";
         }},
        {"a Begin block without End",
         [](CliSandbox& b) {
             const fs::path form = b.dir / "sample" / "frmMain.frm";
             std::string text = ReadFile(form);
             text.erase(text.find("   End\r\n", text.find("Begin VB.CommandButton cmdClose")), 8);
             WriteFile(form, text);
         },
         kNumber, 3, {"frmMain.frm:26: Begin block is never closed by End; left untouched", "failed: "}, {"frmMain.frm"},
         {"modUtil.bas", "clsCustomer.cls"}},
        {"a module listed twice", [](CliSandbox& b) { AddToProject(b, "Module=modUtil; .\\MODUTIL.BAS\r\n"); }, kNumber, 0,
         {"Sample.vbp:5: modUtil.bas is listed again (first on line 2); worked on once", "3 file(s) changed"}, {}, kAll,
         Runner::InProcess,
         [&](const CliSandbox& b, const CliResult&) { EXPECT_EQ(ReadFile(util(b)), numbered.at("modUtil.bas")); }},
        {"a module outside the project's folder, --verbose", outside,
         {"--verbose", "number", "P"}, 0,
         {"note: ", "Sample.vbp:2: ..\\outside\\x.bas lies outside the project's folder", "4 file(s) changed"}, {}, kAll},
        {"a module outside the project's folder", outside,
         kNumber, 0, {"4 file(s) changed"}, {}, kAll, Runner::InProcess, {}, {"outside the project's folder"}},
        {"an add-in directory that is a file",
         [&](CliSandbox& b) {
             failLineJump(b);
             WriteFile(b.dir / "addin", "a file");
         },
         {"--on-error", "ignore", "number", "P"}, 3,
         {"List_Err.log: the error log was not written (", "answered Ignore"}, {}, {}, Runner::InProcess, saidOnce},
        {"an add-in directory that cannot be written",
         [&](CliSandbox& b) {
             failLineJump(b);
             fs::create_directories(b.dir / "addin");
             fs::permissions(b.dir / "addin", fs::perms::owner_write, fs::perm_options::remove);
         },
         {"--on-error", "ignore", "number", "P"}, 3, {"List_Err.log: the error log was not written ("}, {}, {},
         Runner::Unprivileged, saidOnce},
        {"lock files beside the error log and the settings file",
         [&](CliSandbox& b) {
             failLineJump(b);
             fs::create_directories(b.dir / "addin");
         },
         kNumber, 3, {"nothing saved"}, kAll, {}, Runner::InProcess,
         [](const CliSandbox& b, const CliResult&) {
             EXPECT_TRUE(fs::exists(b.dir / "addin" / "List_Err.log"));
             EXPECT_TRUE(fs::exists(b.dir / "addin" / ".List_Err.log.lock"));
             EXPECT_TRUE(fs::exists(b.dir / ".settings.ini.lock"));
         }},
        {"a listed file that is missing", [&](CliSandbox& b) { fs::remove(util(b)); }, kNumber, 3,
         {"modUtil.bas: file not found", "failed: "}, {}, {"clsCustomer.cls", "frmMain.frm"}},
        {"a binary file named .bas",
         [&](CliSandbox& b) { WriteFile(util(b), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20)); }, kNumber, 3,
         {"modUtil.bas:3: not VB6 source text (NUL byte); left untouched"}, {"modUtil.bas"},
         {"clsCustomer.cls", "frmMain.frm"}},
        {"a NUL byte", [&](CliSandbox& b) { WriteFile(util(b), ReadFile(util(b)) + '\0'); }, kNumber, 3,
         {"not VB6 source text (NUL byte); left untouched"}, {"modUtil.bas"}, {"clsCustomer.cls", "frmMain.frm"}},
        {"a procedure never closed",
         [&](CliSandbox& b) { WriteFile(util(b), ReadFile(util(b)) + "Public Function Bad()\r\n"); }, kNumber, 3,
         {"Function Bad is never closed by End Function; left untouched"}, {"modUtil.bas"},
         {"clsCustomer.cls", "frmMain.frm"}},
        {"code after the last End Sub",
         [&](CliSandbox& b) { WriteFile(util(b), ReadFile(util(b)) + "Beep\r\n"); }, kNumber, 3,
         {"only comments may appear after End Sub, End Function or End Property; left untouched"}, {"modUtil.bas"},
         {"clsCustomer.cls", "frmMain.frm"}},
        {"a 200,000-line module",
         [](CliSandbox& b) {
             WriteFile(b.dir / "sample" / "modBig.bas", ModuleOf("modBig", 2000, 98));
             AddToProject(b, "Module=modBig; modBig.bas\r\n");
         },
         kNumber, 0, {"modBig.bas: 200000 lines, more than VB6 accepts (65,534)", "4 file(s) changed"}, {}, kAll},
        {"a 100,000-byte line",
         [](CliSandbox& b) {
             WriteFile(b.dir / "sample" / "modLong.bas", ModuleOf("modLong", 1, 1, 100'000));
             AddToProject(b, "Module=modLong; modLong.bas\r\n");
         },
         kNumber, 0, {"modLong.bas: a line of 100010 bytes, longer than VB6 accepts (1,023)", "4 file(s) changed"}, {},
         kAll},
        {"a read-only module",
         [&](CliSandbox& b) { fs::permissions(util(b), fs::perms::owner_write, fs::perm_options::remove); }, kNumber, 3,
         {"modUtil.bas: file is read-only; not saved"}, {"modUtil.bas"}, {"clsCustomer.cls", "frmMain.frm"}},
        {"a read-only folder",
         [](CliSandbox& b) {
             for (const auto& e : fs::directory_iterator(b.dir / "sample"))
                 fs::permissions(e.path(), fs::perms::all, fs::perm_options::add);
             fs::permissions(b.dir / "sample", fs::perms::all);
             fs::permissions(b.dir / "sample",
                             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
         },
         kNumber, 3, {"frmMain.frm: cannot create a temporary file beside it: Permission denied"}, kAll, {},
         Runner::Unprivileged},
        {"a full disk", [](CliSandbox&) {}, kNumber, 3, {"frmMain.frm: cannot write: File too large"}, kAll, {},
         Runner::SmallFiles},
        {"a settings file that is not INI", [](CliSandbox& b) { WriteFile(b.settings, "garbage\r\n"); }, kNumber, 3,
         {"settings.ini line 1: cannot read \"garbage\"", "failed: "}, kAll, {}},
        {"a settings file that is a folder", [](CliSandbox& b) { fs::create_directories(b.settings); }, kNumber, 3,
         {"settings.ini: cannot ", "failed: "}, kAll, {}},
        {"a settings file that cannot be read",
         [](CliSandbox& b) {
             WriteFile(b.settings, "");
             fs::permissions(b.settings, fs::perms::none);
         },
         kNumber, 3, {"settings.ini: cannot open: Permission denied", "failed: "}, kAll, {}, Runner::Unprivileged},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        if (vex::testing::kWindows && row.runner != Runner::InProcess) continue;  // fork and resource limits
        CliSandbox box;
        const std::string addin = (box.dir / "addin").string();
        const vex::testing::ScopedEnv home{{"VEXTOOLS_HOME", addin.c_str()}};
        row.spoil(box);
        const auto before = box.Snapshot();
        std::vector<std::string> args = row.args;
        for (auto& a : args)
            if (a == "P") a = box.project;
        CliResult r{};
#ifndef _WIN32
        r = row.runner == Runner::InProcess ? box.Vex(args) : InChild(box, args, row.runner);
#else
        r = box.Vex(args);
#endif
        EXPECT_EQ(r.code, row.code) << r.err;
        for (const auto& text : row.said) EXPECT_NE(r.err.find(text), std::string::npos) << text << "\n" << r.err;
        for (const auto& text : row.unsaid) EXPECT_EQ(r.err.find(text), std::string::npos) << text << "\n" << r.err;
        const auto after = box.Snapshot();
        for (const auto& name : row.untouched) EXPECT_EQ(after.at(name), before.at(name)) << name << " was changed";
        for (const auto& name : row.saved) EXPECT_NE(after.at(name), before.at(name)) << name << " was not saved";
        if (row.check) row.check(box, r);
        // Nothing of ours is left in sight: no temporary file, no lock file but hidden ones.
        std::error_code ec;
        for (fs::recursive_directory_iterator it(box.dir.Path(), ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            EXPECT_FALSE(util::TemporaryOwner(it->path())) << name;
            EXPECT_FALSE(name.ends_with(".lock") && !name.starts_with(".")) << name;
        }
    }
}

}  // namespace
}  // namespace vex::cli
