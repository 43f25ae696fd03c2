#pragma once
// The line numbers a procedure's own statements refer to: the lines they jump to (GoTo, GoSub, Resume,
// On ... GoTo/GoSub, If ... Then/Else with a line number) and the numbers they compare Erl with
// (`If Erl = 20`, `Case 20` under `Select Case Erl`). Those lines must keep their numbers.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ide/code_module.h"

namespace vex::engine {

/// A procedure of a component (empty name: the declarations section), each copy of a procedure defined
/// twice on its own. It stays valid while lines move, until procedures are added or taken away.
struct ProcKey {
    std::string name;
    ide::ProcKind kind = ide::ProcKind::Proc;
    int copy = 0;
    auto operator<=>(const ProcKey&) const = default;

    /// The procedure that holds `line`.
    static ProcKey At(const ide::CodeModule& code, long line) {
        ide::ProcAtLine at = code.ProcAt(line);
        return {std::move(at.name), at.kind, at.copy};
    }
};

/// Line numbers as LeadingNumber() gives them (decimal, no leading zeros).
using NumberSet = std::set<std::string>;

/// The numbers referred to by the jumps and Erl comparisons of one statement (its continued lines
/// joined). Text inside strings and comments is ignored; "On Error GoTo 0" and "Resume 0" refer to no line.
std::vector<std::string> JumpTargetsOf(std::string_view statement);

/// What a procedure's statements refer to.
struct JumpTargets {
    NumberSet numbers;       ///< the line numbers they jump to or compare Erl with
    bool readsErl = false;   ///< the procedure reads Erl: its numbers mean something
};

/// The jump targets of every procedure of `code`, by procedure.
std::map<ProcKey, JumpTargets> CollectJumpTargets(const ide::CodeModule& code);

}  // namespace vex::engine
