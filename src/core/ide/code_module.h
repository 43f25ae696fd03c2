#pragma once
// The operations the engine calls on a component's code, with the IDE's behaviour.
// Texts are the module's own bytes (Windows-1252), without line breaks.

#include <string>
#include <string_view>

namespace vex::ide {

/// The kind of a procedure, as ProcOfLine reports it and the Proc* lookups take it.
enum class ProcKind : int { Proc = 0, Let = 1, Set = 2, Get = 3 };

/// The procedure that holds a line, with its range.
struct ProcAtLine {
    std::string name;  ///< empty in the declarations section (the other fields are then 0)
    ProcKind kind = ProcKind::Proc;
    /// 0 for the first procedure of this name and kind in the module, 1 for the next, ...: a module may
    /// define one procedure twice, each copy with its own body, in the branches of an #If.
    int copy = 0;
    long start = 0;  ///< as ProcStartLine
    long body = 0;   ///< as ProcBodyLine
    long last = 0;   ///< the range's last line (ProcStartLine + ProcCountLines - 1)

    /// The same procedure (copy included), wherever its lines stand now.
    bool SameAs(const ProcAtLine& other) const {
        return kind == other.kind && copy == other.copy && name == other.name;
    }
};

/// A component's code as lines numbered from 1. Lines outside 1..CountOfLines raise a RuntimeError.
class CodeModule {
public:
    virtual ~CodeModule() = default;

    /// The current number of lines; changes after each edit.
    virtual long CountOfLines() const = 0;

    /// The text of `count` lines from `line`, joined by CR LF (count 1: one line without its break).
    virtual std::string Lines(long line, long count) const = 0;

    /// Line `line`'s text, as Lines(line, 1) gives it, without copying it where the module can: the view
    /// holds until the module is next edited or `scratch` next changes.
    virtual std::string_view LineText(long line, std::string& scratch) const { return scratch = Lines(line, 1); }

    /// Line `line` becomes `text`; each line break in `text` (CR LF, lone CR or lone LF) starts a new
    /// line and moves later lines down.
    virtual void ReplaceLine(long line, std::string_view text) = 0;

    /// Removes `count` lines from `line`; later lines move up.
    virtual void DeleteLines(long line, long count = 1) = 0;

    /// The name of the procedure that holds `line` (empty in the declarations section); sets `kind`.
    virtual std::string ProcOfLine(long line, ProcKind& kind) const = 0;

    /// The line with the procedure's Sub/Function/Property keyword. Error 35 when there is no such procedure.
    virtual long ProcBodyLine(std::string_view name, ProcKind kind) const = 0;

    /// The procedure's first line as the IDE counts it (comments above the declaration included). Error 35.
    virtual long ProcStartLine(std::string_view name, ProcKind kind) const = 0;

    /// The number of lines from ProcStartLine to the procedure's last line. Error 35.
    virtual long ProcCountLines(std::string_view name, ProcKind kind) const = 0;

    /// The procedure that holds `line`. Unlike the lookups by name above, which give the first of two
    /// copies, this gives the copy the line is in. By default it asks those lookups, which is all an
    /// IDE's object model can answer: copies then read as one procedure.
    ProcAtLine ProcAt(long line) const {
        ProcAtLine at;
        ProcAt(line, at);
        return at;
    }
    /// ProcAt into `at`, whose name keeps its buffer: for the passes that ask it of every line.
    virtual void ProcAt(long line, ProcAtLine& at) const {
        at = {};
        at.name = ProcOfLine(line, at.kind);
        if (at.name.empty()) return;
        at.start = ProcStartLine(at.name, at.kind);
        at.body = ProcBodyLine(at.name, at.kind);
        at.last = at.start + ProcCountLines(at.name, at.kind) - 1;
    }
};

}  // namespace vex::ide
