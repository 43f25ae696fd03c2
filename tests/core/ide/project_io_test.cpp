#include <gtest/gtest.h>

#include <functional>

#include "fakes/raised.h"
#include "fakes/corpus.h"
#include "fakes/platform.h"
#include "fakes/scratch_dir.h"
#include "host/paths.h"
#include "ide/project_loader.h"
#include "ide/project_saver.h"
#include "ide/source_module.h"
#include "util/file_io.h"

namespace vex::ide {
namespace {
namespace fs = std::filesystem;

class TempTree : public ::testing::Test {
protected:
    fs::path Write(const std::string& relative, const std::string& bytes) {
        const fs::path p = root_ / host::PathFromUtf8(relative);
        vex::testing::WriteFile(p, bytes);
        return p;
    }
    vex::testing::ScratchDir dir_;
    const fs::path& root_ = dir_.Path();
};

const std::string kModule = "Attribute VB_Name = \"modA\"\r\nOption Explicit\r\nSub A()\r\nEnd Sub\r\n";

TEST_F(TempTree, LoadsComponentsInProjectOrderResolvingCaseAndEncoding) {
    Write("Common/MODA.BAS", kModule);
    Write("app/frmMain.frm", "VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nAttribute VB_Name = \"frmMain\"\r\n");
    Write("app/FRMMAIN.FRX", std::string("\0\x01\xFF", 3));
    Write("app/cl\xC3\xA9.cls", "Attribute VB_Name = \"cl\xE9\"\r\n");  // UTF-8 name on disk
    Write("app/Fen\xC3\xAAtre.frm", "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\n");  // no VB_Name: named after its file
    Write("app/fen\xC3\xAAtre.frx", "x");
    const auto vbp = Write("app/P.vbp",
                           "Type=Exe\r\nForm=frmmain.frm\r\nModule=modA; ..\\common\\moda.bas\r\n"
                           "Class=cl\xE9; CL\xC9.cls\r\nForm=FEN\xCATRE.FRM\r\nName=\"Proj\"\r\n[MS Transaction Server]\r\nModule=x; x.bas\r\n");
    auto ws = LoadWorkspace(vbp);
    EXPECT_TRUE(ws.Warnings().empty());
    auto& p = *ws.ActiveVBProject();
    EXPECT_EQ(p.Name(), "Proj");
    ASSERT_EQ(p.VBComponents().size(), 4u);
    const auto& form = p.VBComponents()[0];
    EXPECT_EQ(form.Name(), "frmMain");
    ASSERT_EQ(form.FileCount(), 2);
    EXPECT_EQ(form.FileNames(2).filename(), "FRMMAIN.FRX");  // as the file system spells it
    EXPECT_EQ(p.VBComponents()[1].FileNames(1), (root_ / "Common/MODA.BAS").lexically_normal());
    EXPECT_EQ(p.VBComponents()[2].Name(), "cl\xE9");
    const auto& accented = p.VBComponents()[3];
    EXPECT_EQ(accented.Name(), "Fen\xEAtre");  // Windows-1252, as a project file would spell it
    ASSERT_EQ(accented.FileCount(), 2);
    EXPECT_EQ(accented.FileNames(2).filename(), host::PathFromUtf8("fen\xC3\xAAtre.frx"));
    EXPECT_THROW(p.VBComponents()[1].FileNames(2), errors::RuntimeError);
}

// Files are read on several threads; what they say still comes in the order the project lists them. Source
// files that cannot be edited are left out (listed, with no code) and the others load.
TEST_F(TempTree, WarningsAndFailuresComeInProjectOrderAndFilesThatCannotBeEditedAreLeftOut) {
    for (int i = 0; i < 6; ++i) Write("m" + std::to_string(i) + ".bas", "\xEF\xBB\xBF" + kModule);
    Write("open.bas", "Attribute VB_Name = \"modOpen\"\r\nSub A()\r\nEnd Sub\r\nFunction B()\r\n  x = 1\r\n");
    Write("bin.bas", std::string("Sub A()\0", 8));
    const auto vbp = Write("P.vbp", "Type=Exe\r\nModule=modGone; gone.bas\r\nModule=m0.bas\r\nModule=m1.bas\r\n"
                                    "Module=m0.bas\r\nModule=modOpen; open.bas\r\nModule=modBin; bin.bas\r\n"
                                    "Module=m2.bas\r\nModule=m3.bas\r\nModule=m4.bas\r\nModule=m5.bas\r\n");
    auto ws = LoadWorkspace(vbp);
    const Workspace& loaded = ws;
    std::vector<std::string> said;
    for (const auto& w : loaded.Warnings()) said.push_back(w.substr(w.find_last_of("/\\") + 1, 14));
    for (const auto& f : ws.Failures()) said.push_back(f.message.substr(f.message.find_last_of("/\\") + 1));
    EXPECT_EQ(said, (std::vector<std::string>{"m0.bas: starts", "m1.bas: starts", "P.vbp:5: m0.ba", "m2.bas: starts",
                                              "m3.bas: starts", "m4.bas: starts", "m5.bas: starts",
                                              "gone.bas: file not found",
                                              "open.bas:4: Function B is never closed by End Function",
                                              "bin.bas:1: not VB6 source text (NUL byte)"}));
    EXPECT_NE(ws.Failures()[0].message.find("P.vbp:2"), std::string::npos) << "the .vbp line that lists it";
    const auto& components = loaded.ActiveVBProject()->VBComponents();
    ASSERT_EQ(components.size(), 9u);
    for (size_t i = 0; i < components.size(); ++i) {
        const bool loaded = i != 0 && i != 3 && i != 4;
        EXPECT_EQ(components[i].Loaded(), loaded) << i;
        if (!loaded) {
            EXPECT_EQ(components[i].GetCodeModule().CountOfLines(), 0) << i;
        }
    }
    EXPECT_EQ(components[8].Name(), "modA");
    EXPECT_TRUE(ChangedComponents(*ws.ActiveVBProject()).empty());
    // Copying needs no code: the same project loaded for names only just warns.
    EXPECT_EQ(LoadWorkspace(vbp, LoadMode::Names).Failures().size(), 0u);
}

TEST_F(TempTree, BadInputIsReportedWithTheFileName) {
    struct Case {
        std::string file, bytes, mention;
    } cases[] = {
        {"bin.bas", std::string("Sub A()\0", 8), "bin.bas:1"},
        {"f.frm", "VERSION 5.00\r\nBegin VB.Form f\r\n", "f.frm:2"},
        // The Begin that lacks its End, as indentation tells, not the first one of the file.
        {"g.frm", "VERSION 5.00\r\nBegin VB.Form g\r\n   Begin VB.Label a\r\n   Begin VB.Label b\r\n   End\r\nEnd\r\n",
         "g.frm:3: Begin block is never closed by End"},
        {"h.frm", "VERSION 5.00\r\nBegin VB.Form h\r\n   Begin VB.Label a\r\n   End\r\nAttribute VB_Name = \"h\"\r\n",
         "h.frm:2: Begin block"},
        {"x.txt", "hello", "x.txt"},
        {"N.vbp", "just text\r\n", "N.vbp"},
    };
    for (const auto& c : cases) {
        const auto e = vex::testing::Raised([&] { LoadWorkspace(Write(c.file, c.bytes)); });
        EXPECT_NE(e.Description().find(c.mention), std::string::npos) << c.file << ": " << e.Description();
    }
}

TEST_F(TempTree, SavesOnlyChangesAtomicallyKeepingPermissions) {
    const auto a = Write("A.bas", kModule);
    Write("B.bas", "Attribute VB_Name = \"modB\"\r\nSub B()\r\nEnd Sub");
    fs::permissions(a, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto vbp = Write("P.vbp", "Type=Exe\r\nModule=modA; A.bas\r\nModule=modB; B.bas\r\n");
    auto ws = LoadWorkspace(vbp);
    auto& p = *ws.ActiveVBProject();
    p.VBComponents()[0].GetCodeModule().ReplaceLine(2, "Sub A()\r\n    x = 1");
    p.VBComponents()[1].GetCodeModule().ReplaceLine(1, "Sub B()");  // same text: not a change
    auto changes = ChangedComponents(p);
    ASSERT_EQ(changes.size(), 1u);
    SaveChanges(changes);
    EXPECT_EQ(util::ReadFile(a), "Attribute VB_Name = \"modA\"\r\nOption Explicit\r\nSub A()\r\n    x = 1\r\nEnd Sub\r\n");
    const auto perms = fs::status(a).permissions();
    if (vex::testing::kWindows)  // only the read-only attribute: the file must stay writable
        EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
    else
        EXPECT_EQ(perms, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(ChangedComponents(p).empty());
    for (const auto& e : fs::directory_iterator(root_))
        EXPECT_EQ(e.path().filename().string().find(".vextools-"), std::string::npos) << "temporary file left";
}

// (A read-only module is a row of cli/bad_input_test.cpp.)
TEST_F(TempTree, AFileThatCannotBeSavedIsReportedAndTheOthersAreSaved) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> spoil;  // applied to B.bas after loading
        std::string reason;
    } cases[] = {
        {"changed on disk", [&](const fs::path& b) { vex::testing::WriteFile(b, "' someone else\r\n"); },
         "changed on disk since it was loaded; not overwritten"},
        {"deleted", [](const fs::path& b) { fs::remove(b); },
         vex::testing::kWindows ? "cannot open" : "No such file"},
    };
    for (const auto& c : cases) {
        const auto a = Write("A.bas", kModule);
        const auto b = Write("B.bas", "Attribute VB_Name = \"modB\"\r\nSub B()\r\nEnd Sub\r\n");
        fs::permissions(b, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
        auto ws = LoadWorkspace(Write("P.vbp", "Type=Exe\r\nModule=modB; B.bas\r\nModule=modA; A.bas\r\n"));
        for (auto& comp : ws.ActiveVBProject()->VBComponents()) comp.GetCodeModule().ReplaceLine(1, "' edited");
        c.spoil(b);
        const std::string spoiled = fs::exists(b) ? util::ReadFile(b) : "";
        auto changes = ChangedComponents(*ws.ActiveVBProject());
        const auto failures = SaveChanges(changes);
        ASSERT_EQ(failures.size(), 1u) << c.what;
        EXPECT_EQ(failures[0].file, b) << c.what;
        EXPECT_NE(failures[0].message.find(c.reason), std::string::npos) << c.what << ": " << failures[0].message;
        if (fs::exists(b)) {
            EXPECT_EQ(util::ReadFile(b), spoiled) << c.what;
        }
        EXPECT_EQ(util::ReadFile(a), "Attribute VB_Name = \"modA\"\r\n' edited\r\nSub A()\r\nEnd Sub\r\n")
            << c.what << ": the other file is saved";
        EXPECT_TRUE(ws.ActiveVBProject()->VBComponents()[0].Source().Changed()) << "still to save";
        std::error_code ec;  // writable again first: Windows deletes no read-only file
        fs::permissions(b, fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove(b, ec);
    }
}

TEST_F(TempTree, ASymlinkedModuleStaysALinkAndItsTargetIsRewritten) {
    VEX_SKIP_ON_WINDOWS("symbolic links need rights a user does not have by default");
    const auto target = Write("shared/A.bas", kModule);
    const auto link = root_ / "app" / "A.bas";
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
    auto ws = LoadWorkspace(link);
    ws.ActiveVBProject()->VBComponents()[0].GetCodeModule().ReplaceLine(1, "' edited");
    auto changes = ChangedComponents(*ws.ActiveVBProject());
    EXPECT_TRUE(SaveChanges(changes).empty());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(util::ReadFile(target).find("' edited"), kModule.find("Option Explicit"));
    for (const auto& e : fs::directory_iterator(target.parent_path()))
        EXPECT_EQ(e.path().filename().string().find(".vextools-"), std::string::npos) << "temporary file left";
}

// Every source file of the real-world projects loads and saves back to the same bytes.
TEST(Corpus, LoadingAndSavingWithoutEditsGivesIdenticalBytes) {
    const auto files = vex::testing::CorpusFiles(vex::testing::kModuleExtensions);
    SKIP_WITHOUT_CORPUS(files);
    for (const auto& file : files) {
        const std::string bytes = util::ReadFile(file);
        ASSERT_EQ(SourceModule::Parse(bytes, file.string())->Serialize(), bytes) << file;
    }
    EXPECT_GT(files.size(), 500u);
    for (const auto& file : vex::testing::CorpusFiles({".vbp"})) {
        auto ws = LoadWorkspace(file);
        EXPECT_FALSE(ws.ActiveVBProject()->VBComponents().empty()) << file;
        EXPECT_TRUE(ChangedComponents(*ws.ActiveVBProject()).empty()) << file;
    }
}

}  // namespace
}  // namespace vex::ide
