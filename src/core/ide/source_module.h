#pragma once
// A code module read from a VB6 source file. It holds the visible code lines (what the IDE shows) and
// the hidden lines (the file header and member attributes) anchored to what they belong to, and keeps a
// procedure index current as lines change. Saving gives back the loaded bytes for every line not edited.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ide/code_module.h"

namespace vex::ide {

/// A procedure as the IDE counts it. Lines are 1-based positions in the visible code.
struct ProcInfo {
    std::string name;
    ProcKind kind = ProcKind::Proc;
    long start = 0;  ///< first line of the range (after the previous procedure's End line)
    long body = 0;   ///< the line with the Sub/Function/Property keyword
    long declarationEnd = 0;  ///< the declaration's last line (see declaration_end.h)
    long end = 0;    ///< last line of the range (its End line; for the last procedure, the module's last line)
    int copy = 0;    ///< as ProcAtLine::copy
};

class SourceModule : public CodeModule {
public:
    /// Parses `bytes` (the whole file). Throws RuntimeError when the bytes are not VB6 source text.
    static std::unique_ptr<SourceModule> Parse(std::string bytes, std::string_view fileNameForErrors = {});
    ~SourceModule() override;

    /// A module's name and size, as the loader checks them.
    struct Shape {
        std::string vbName;      ///< as VBName()
        long lines = 0;          ///< as CountOfLines()
        size_t longestLine = 0;  ///< as LongestLine()
    };
    /// The shape of the module `bytes` would parse into, without building it (for copying files);
    /// throws as Parse does.
    static Shape ShapeOf(std::string_view bytes, std::string_view fileNameForErrors = {});

    // CodeModule
    long CountOfLines() const override;
    std::string Lines(long line, long count) const override;
    std::string_view LineText(long line, std::string& scratch) const override;
    void ReplaceLine(long line, std::string_view text) override;
    void DeleteLines(long line, long count = 1) override;
    std::string ProcOfLine(long line, ProcKind& kind) const override;
    long ProcBodyLine(std::string_view name, ProcKind kind) const override;
    long ProcStartLine(std::string_view name, ProcKind kind) const override;
    long ProcCountLines(std::string_view name, ProcKind kind) const override;
    using CodeModule::ProcAt;
    void ProcAt(long line, ProcAtLine& at) const override;

    /// Empty when the module's procedures stand as VB6 compiles them; otherwise the first fault, naming
    /// its file line: a procedure never closed by its End statement ("modBad.bas:2: Function B is never
    /// closed by End Function"), else code after a procedure's End that is not a comment, a directive or
    /// an attribute, or an End statement outside every procedure. An editing pass would take such code
    /// for part of a procedure it is not in, or a procedure for code outside it.
    std::string StructureFault(std::string_view fileName) const;

    /// The line of the file as it would be saved now (header and hidden lines counted) that visible line
    /// `line` stands on; for messages that send the user to the file.
    long FileLine(long line) const;

    /// The procedures in file order.
    const std::vector<ProcInfo>& Procedures() const;

    /// `Attribute VB_Name` of the header, or empty.
    const std::string& VBName() const;
    /// Renames the module: rewrites the quoted value of its `Attribute VB_Name` line (every other byte
    /// kept), or adds that line at the end of the header when there is none.
    void SetVBName(std::string_view name);

    /// The file's bytes as they would be saved now.
    std::string Serialize() const;
    /// The same, into `out` (its memory used again: a string kept for many modules is not fresh memory).
    void SerializeInto(std::string& out) const;
    /// The bytes the module was parsed from.
    const std::string& Original() const;
    /// How many times the text or the original changed since the load: a text serialized at one count
    /// stands while the count does.
    uint64_t Edits() const;
    /// True when Serialize() differs from Original().
    bool Changed() const;
    /// Takes the current text as the new original (after a save).
    void MarkSaved();
    /// The same, given what Serialize() returned (saves serializing again).
    void MarkSaved(std::string saved);

    /// Longest visible line in bytes (VB6 refuses lines over 1,023 bytes).
    size_t LongestLine() const;

private:
    SourceModule();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vex::ide
