// Reading a .vbp or a .vbg: any bytes either load or raise a RuntimeError, every component that loads
// holds exactly its file's bytes, and the rest is named among the failures.
//
// The input is the file. It stands in a folder of its own beside a few modules it may name (good,
// unclosed, binary, in a subfolder, with a companion) and another project.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "ide/project_loader.h"
#include "ide/source_module.h"

namespace {

namespace fs = std::filesystem;
using namespace vex::ide;
using vex::fuzz::Check;

void Write(const fs::path& p, std::string_view bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// The folder the project files are written to, made once per process and removed at exit.
const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string tmpl = (fs::temp_directory_path() / "vexfuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        const fs::path f = tmpl;
        Write(f / "A.bas", "Attribute VB_Name = \"A\"\r\nOption Explicit\r\nSub S()\r\n  x = 1\r\nEnd Sub\r\n");
        Write(f / "Unclosed.bas", "Attribute VB_Name = \"Unclosed\"\r\nSub S()\r\n");
        Write(f / "Binary.bas", std::string("Attribute VB_Name = \"B\"\r\n\0\r\n", 28));
        Write(f / "Sub" / "C.cls",
              "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1\r\nEND\r\nAttribute VB_Name = \"C\"\r\nPublic P As Long\r\n");
        Write(f / "F.frm", "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\nAttribute VB_Name = \"F\"\r\nPrivate Sub Form_Load()\r\nEnd Sub");
        Write(f / "F.frx", "bin");
        Write(f / "Other.vbp", "Type=Exe\r\nModule=A; A.bas\r\nName=\"Other\"\r\n");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Folder(), ec);
        });
        return f;
    }();
    return folder;
}

// Paths that leave the folder (absolute, or through ..) could name devices and other people's files:
// such inputs are not tried.
bool StaysInFolder(std::string_view bytes) {
    if (bytes.find("..") != std::string_view::npos) return false;
    char previous = '\n';
    for (char c : bytes) {
        if ((c == '/' || c == '\\') && (previous == '=' || previous == ';' || previous == '\n' || previous == '\r'))
            return false;
        if (c != ' ' && c != '\t' && c != '"') previous = c;
    }
    return true;
}

/// Loads `file` as `mode` says and checks what came of it.
void CheckLoad(const fs::path& file, LoadMode mode) {
    Workspace ws;
    try {
        ws = LoadWorkspace(file, mode);
    } catch (const vex::errors::RuntimeError& e) {
        Check(!e.Description().empty(), "a refused project says why");
        return;
    }
    Check(ws.ActiveVBProject() != nullptr, "a loaded workspace has an active project");
    for (const auto& f : ws.Failures()) Check(!f.message.empty(), "a failure says why");
    for (auto& project : ws.Projects())
        for (auto& c : project.VBComponents()) {
            Check(c.FileCount() >= 1, "a component names its source file");
            if (!c.Loaded()) {
                bool named = mode == LoadMode::Names;
                for (const auto& f : ws.Failures()) named = named || f.file == c.FileNames(1);
                Check(named, "a component left without code is named among the failures");
                continue;
            }
            Check(mode == LoadMode::Code, "a load for names keeps no code");
            Check(c.Source().Serialize() == Read(c.FileNames(1)), "a component holds its file's bytes");
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!StaysInFolder(bytes)) return 0;
    // The same bytes as a project and as a group (which may name the project), each loaded both ways.
    Write(Folder() / "In.vbp", bytes);
    Write(Folder() / "In.vbg", bytes);
    for (const char* name : {"In.vbp", "In.vbg"})
        for (const LoadMode mode : {LoadMode::Code, LoadMode::Names}) CheckLoad(Folder() / name, mode);
    return 0;
}
