#include "ide/project_loader.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "errors/runtime_error.h"
#include "host/paths.h"
#include "ide/source_module.h"
#include "ide/text_shape.h"
#include "text/cp1252.h"
#include "util/canonical_paths.h"
#include "util/file_io.h"
#include "util/parallel.h"

namespace vex::ide {
namespace fs = std::filesystem;
namespace {

using errors::RuntimeError;

// VB6's own limits: the IDE refuses modules beyond them, so we warn but still load.
constexpr long kMaxModuleLines = 65534;
constexpr size_t kMaxLineBytes = 1023;

struct KindInfo {
    std::string_view key;        // the .vbp key
    std::string_view extension;  // the source file's extension
    std::string_view companion;  // the binary companion's extension, or empty
    ComponentKind kind;
};

constexpr std::array<KindInfo, 7> kKinds = {{
    {"Form", ".frm", ".frx", ComponentKind::Form},
    {"Module", ".bas", "", ComponentKind::Module},
    {"Class", ".cls", "", ComponentKind::Class},
    {"UserControl", ".ctl", ".ctx", ComponentKind::UserControl},
    {"UserDocument", ".dob", ".dox", ComponentKind::UserDocument},
    {"PropertyPage", ".pag", ".pgx", ComponentKind::PropertyPage},
    {"Designer", ".dsr", ".dsx", ComponentKind::Designer},
}};

const KindInfo* KindByKey(std::string_view key) {
    for (const auto& k : kKinds)
        if (text::IEquals(k.key, key)) return &k;
    return nullptr;
}

const KindInfo* KindByExtension(std::string_view ext) {
    for (const auto& k : kKinds)
        if (text::IEquals(k.extension, ext)) return &k;
    return nullptr;
}

// The .vbp/.vbg lines as key and value, with their line numbers, up to the first [section].
struct Entry {
    long line;
    std::string key;
    std::string value;
};

std::vector<Entry> ReadEntries(std::string_view bytes) {
    std::vector<Entry> entries;
    long number = 0;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        ++number;
        const auto line = bytes.substr(start, end - start);
        if (!line.empty() && line.front() == '[') break;
        if (const auto eq = line.find('='); eq != std::string_view::npos)
            entries.push_back({number, std::string(text::Trim(line.substr(0, eq))), std::string(line.substr(eq + 1))});
        if (end == bytes.size()) break;
        start = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return entries;
}

std::string Unquote(std::string_view v) {
    v = text::Trim(v);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// The entry of `dir` whose name equals `name` without regard to case, as Windows would find it. `name` is
// Windows-1252; host/paths.h says how the file system may spell it.
std::optional<fs::path> FindEntry(const fs::path& dir, std::string_view name) {
    for (const fs::path& spelling : host::DiskSpellings(name)) {
        const fs::path candidate = dir / spelling;
        std::error_code ec;
        if (fs::exists(candidate, ec)) return host::SpelledOnDisk(candidate);
    }
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path().filename();
        if (host::IsNamed(entry, name)) return dir / entry;
    }
    return std::nullopt;
}

// `vbpPath` as it would be spelled without resolving case (for messages and missing files).
fs::path Literal(const fs::path& base, std::string_view vbpPath) {
    std::string p(vbpPath);
    std::replace(p.begin(), p.end(), '\\', '/');
    return (base / host::DiskSpellings(p).front()).lexically_normal();
}

// Records that `file`'s code is left out. Copying needs no code, so a load for names only just warns.
void Refuse(Workspace& ws, LoadMode mode, const fs::path& file, std::string message) {
    if (mode == LoadMode::Names) {
        ws.Warnings().push_back(std::move(message));
        return;
    }
    for (const auto& f : ws.Failures())
        if (f.file == file) return;  // a file that several projects share is named once
    ws.Failures().push_back({file, std::move(message)});
}

/// What reading one module file gives, before it joins the workspace.
struct LoadedComponent {
    Component component;
    std::vector<std::string> warnings;   ///< in the order met
    std::optional<std::string> refusal;  ///< why its code is left out
};

// Touches nothing shared, so that files are read on every core at once.
LoadedComponent LoadComponent(const fs::path& file, const KindInfo& kind, std::string fallbackName,
                              const std::string& where, LoadMode mode) {
    LoadedComponent loaded{Component(fallbackName, kind.kind, file, nullptr), {}, std::nullopt};
    auto leftOut = [&](std::string message) {
        loaded.refusal = std::move(message);
        return std::move(loaded);
    };
    std::unique_ptr<SourceModule> module;
    SourceModule::Shape shape;
    try {
        std::string bytes = util::ReadFile(file);
        loaded.warnings = TextShapeWarnings(bytes, util::Display(file));
        // Copying needs no code: a load for names only reads the module's shape and keeps nothing.
        if (mode == LoadMode::Names)
            shape = SourceModule::ShapeOf(bytes, util::Display(file));
        else
            module = SourceModule::Parse(std::move(bytes), util::Display(file));
    } catch (const RuntimeError& e) {
        return leftOut(e.Description().starts_with(util::Display(file)) ? e.Description()
                                                                        : where + ": " + e.Description());
    }
    // Refused here, so that no pass edits a procedure that runs into the next one.
    if (mode == LoadMode::Code)
        if (std::string unclosed = module->StructureFault(util::Display(file)); !unclosed.empty())
            return leftOut(std::move(unclosed));
    if (module) shape = {module->VBName(), module->CountOfLines(), module->LongestLine()};
    if (shape.lines > kMaxModuleLines)
        loaded.warnings.push_back(util::Display(file) + ": " + std::to_string(shape.lines) +
                                  " lines, more than VB6 accepts (65,534)");
    if (shape.longestLine > kMaxLineBytes)
        loaded.warnings.push_back(util::Display(file) + ": a line of " + std::to_string(shape.longestLine) +
                                  " bytes, longer than VB6 accepts (1,023)");
    std::string name = shape.vbName.empty() ? std::move(fallbackName) : std::move(shape.vbName);
    loaded.component = Component(std::move(name), kind.kind, file, std::move(module));
    if (!kind.companion.empty()) {
        const std::string stem = host::Cp1252Name(file.stem());
        if (auto companion = FindEntry(file.parent_path(), stem + std::string(kind.companion)))
            loaded.component.AddFile(*companion);
    }
    return loaded;
}

/// A module file of a project, to be read once the project's list has been gone through.
struct ModuleToRead {
    size_t slot;  ///< its place among the project's components
    fs::path file;
    const KindInfo* kind;
    std::string fallbackName;
    std::string where;
    size_t warningsBefore;  ///< how many warnings and failures the workspace held when the file was met
    size_t failuresBefore;
};

// Reads the files on every core; what each one adds to the workspace joins it in the project's order,
// where it would have if the files had been read one by one as they were met.
void ReadModules(std::vector<ModuleToRead>& toRead, Project& project, Workspace& ws, LoadMode mode) {
    std::vector<std::optional<LoadedComponent>> loaded(toRead.size());
    util::ForEachIndex(toRead.size(), util::Cores(), [&](size_t k) {
        const ModuleToRead& m = toRead[k];
        loaded[k] = LoadComponent(m.file, *m.kind, m.fallbackName, m.where, mode);
    });
    std::vector<std::string> warnings = std::exchange(ws.Warnings(), {});
    std::vector<LoadFailure> failures = std::exchange(ws.Failures(), {});
    size_t w = 0, f = 0;
    auto catchUp = [&](size_t warningsTo, size_t failuresTo) {
        for (; w < warningsTo; ++w) ws.Warnings().push_back(std::move(warnings[w]));
        for (; f < failuresTo; ++f) ws.Failures().push_back(std::move(failures[f]));
    };
    for (size_t k = 0; k < toRead.size(); ++k) {
        catchUp(toRead[k].warningsBefore, toRead[k].failuresBefore);
        LoadedComponent& one = *loaded[k];
        for (auto& warning : one.warnings) ws.Warnings().push_back(std::move(warning));
        if (one.refusal) Refuse(ws, mode, toRead[k].file, std::move(*one.refusal));
        project.VBComponents()[toRead[k].slot] = std::move(one.component);
    }
    catchUp(warnings.size(), failures.size());
}

// True when `file` lies outside `folder` (a module shared with other projects, say); both as
// util::CanonicalPaths gives them.
bool Outside(const fs::path& folder, const fs::path& file) {
    if (folder.empty() || file.empty()) return true;
    const fs::path relative = file.lexically_relative(folder);
    return relative.empty() || *relative.begin() == "..";
}

// The same file however the project spells its path, to find a file listed twice.
fs::path Identity(const fs::path& file, const fs::path& canonical) {
    return canonical.empty() ? file.lexically_normal() : canonical;
}

Project LoadVbp(const fs::path& vbp, Workspace& ws, LoadMode mode) {
    std::string bytes = util::ReadFile(vbp);
    if (bytes.starts_with(kByteOrderMark)) {
        ws.Warnings().push_back(util::Display(vbp) +
                                ": starts with a UTF-8 byte order mark, which VB6 does not write; read without it");
        bytes.erase(0, kByteOrderMark.size());
    }
    if (bytes.find('\0') != std::string::npos)
        throw RuntimeError(errors::code::kBadFileMode, util::Display(vbp) + ": not a VB6 project file (binary)");
    const auto entries = ReadEntries(bytes);
    if (std::none_of(entries.begin(), entries.end(), [](const Entry& e) { return text::IEquals(e.key, "Type"); }))
        throw RuntimeError(errors::code::kBadFileMode, util::Display(vbp) + ": not a VB6 project file (no Type= line)");

    Project project;
    project.SetFileName(vbp);
    project.SetName(host::Cp1252Name(vbp.stem()));
    const fs::path base = vbp.parent_path();
    util::CanonicalPaths canonicalPaths;
    const fs::path canonicalBase = canonicalPaths.Of(base.empty() ? fs::path(".") : base);
    std::map<fs::path, long> listed;  // each file met, and the line that first lists it
    std::vector<ModuleToRead> toRead;
    for (const auto& e : entries) {
        if (text::IEquals(e.key, "Name")) {
            project.SetName(Unquote(e.value));
            continue;
        }
        const KindInfo* kind = KindByKey(e.key);
        if (!kind) continue;
        std::string name;
        std::string_view path = e.value;
        if (const auto semi = path.find(';'); semi != std::string_view::npos) {  // "Name; path"
            name = std::string(text::Trim(path.substr(0, semi)));
            path = path.substr(semi + 1);
        }
        path = text::Trim(path);
        const std::string where = util::Display(vbp) + ":" + std::to_string(e.line);
        fs::path file = ResolvePath(base, path);
        const fs::path spelled = file.empty() ? Literal(base, path) : file;
        const fs::path canonical = canonicalPaths.Of(spelled);
        const fs::path identity = Identity(spelled, canonical);
        if (const auto [first, added] = listed.emplace(identity, e.line); !added) {
            ws.Warnings().push_back(where + ": " + text::ToUtf8(std::string(path)) + " is listed again (first on line " +
                                    std::to_string(first->second) + "); worked on once");
            continue;
        }
        if (!file.empty() && Outside(canonicalBase, canonical))
            ws.Notes().push_back(where + ": " + text::ToUtf8(std::string(path)) + " lies outside the project's folder (" +
                                 util::Display(file) + ")");
        if (file.empty()) {
            file = Literal(base, path);
            Refuse(ws, mode, file, where + ": " + util::Display(file) + ": file not found");
            if (name.empty()) name = host::Cp1252Name(file.stem());
            project.VBComponents().emplace_back(std::move(name), kind->kind, file, nullptr);
            continue;
        }
        if (name.empty()) name = host::Cp1252Name(file.stem());
        toRead.push_back({project.VBComponents().size(), file, kind, name, where, ws.Warnings().size(),
                          ws.Failures().size()});
        project.VBComponents().emplace_back(std::move(name), kind->kind, file, nullptr);
    }
    ReadModules(toRead, project, ws, mode);
    return project;
}

Project LoadModuleFile(const fs::path& file, const KindInfo& kind, Workspace& ws, LoadMode mode) {
    Project project;
    project.SetFileName(file);
    project.SetName(host::Cp1252Name(file.stem()));
    // A lone module must be readable: there is nothing else to work on.
    util::ReadFile(file);
    std::vector<ModuleToRead> toRead{{0, file, &kind, host::Cp1252Name(file.stem()), util::Display(file),
                                      ws.Warnings().size(), ws.Failures().size()}};
    project.VBComponents().emplace_back(host::Cp1252Name(file.stem()), kind.kind, file, nullptr);
    ReadModules(toRead, project, ws, mode);
    if (!ws.Failures().empty()) throw RuntimeError(errors::code::kBadFileMode, ws.Failures().front().message);
    return project;
}

}  // namespace

fs::path ResolvePath(const fs::path& base, std::string_view vbpPath) {
    std::string p(vbpPath);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.size() >= 2 && p[1] == ':') return {};  // a drive letter: nothing of the kind here
    fs::path current = p.starts_with('/') ? fs::path("/") : base;
    size_t start = p.starts_with('/') ? 1 : 0;
    while (start <= p.size()) {
        size_t end = p.find('/', start);
        if (end == std::string::npos) end = p.size();
        const std::string part = p.substr(start, end - start);
        if (part == "..") current = current.empty() ? fs::path("..") : current / "..";
        else if (!part.empty() && part != ".") {
            auto found = FindEntry(current, part);
            if (!found) return {};
            current = *found;
        }
        start = end + 1;
    }
    return current.lexically_normal();
}

Workspace LoadWorkspace(const fs::path& path, LoadMode mode) {
    Workspace ws;
    const std::string ext = path.extension().string();
    if (text::IEquals(ext, ".vbp")) {
        ws.Projects().push_back(LoadVbp(path, ws, mode));
    } else if (text::IEquals(ext, ".vbg")) {
        const std::string bytes = util::ReadFile(path);
        std::optional<size_t> startup;
        for (const auto& e : ReadEntries(bytes)) {
            const bool isStartup = text::IEquals(e.key, "StartupProject");
            if (!isStartup && !text::IEquals(e.key, "Project")) continue;
            const fs::path vbp = ResolvePath(path.parent_path(), text::Trim(e.value));
            if (vbp.empty())
                throw RuntimeError(errors::code::kFileNotFound,
                                   util::Display(path) + ":" + std::to_string(e.line) + ": project " +
                                       util::Display(Literal(path.parent_path(), text::Trim(e.value))) + " not found");
            if (isStartup) startup = ws.Projects().size();
            ws.Projects().push_back(LoadVbp(vbp, ws, mode));
        }
        if (ws.Projects().empty())
            throw RuntimeError(errors::code::kBadFileMode, util::Display(path) + ": the group lists no project");
        ws.SetActive(startup.value_or(0));
    } else if (const KindInfo* kind = KindByExtension(ext)) {
        ws.Projects().push_back(LoadModuleFile(path, *kind, ws, mode));
    } else {
        throw RuntimeError(errors::code::kBadFileMode,
                           util::Display(path) + ": not a VB6 project, group or module file (expected .vbp, .vbg, "
                                                 ".bas, .cls, .frm, .ctl, .dob, .pag or .dsr)");
    }
    return ws;
}

}  // namespace vex::ide
