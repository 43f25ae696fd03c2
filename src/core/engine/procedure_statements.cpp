#include "engine/procedure_statements.h"

#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::engine {

std::string KindWord(std::string_view declaration) {
    const auto d = ide::syntax::MatchDeclaration(declaration);
    if (!d) return {};
    if (d->kind != ide::ProcKind::Proc) return "Property";
    return text::IEquals(d->keyword, "Sub") ? "Sub" : "Function";
}

long DeclarationLastLine(const ide::CodeModule& code, long bodyLine, long lastLine) {
    long j = bodyLine;
    while (j < lastLine && ide::syntax::Continues(code.Lines(j, 1))) ++j;
    return j;
}

bool IsProcedureEnd(std::string_view line, std::string_view kindWord) {
    switch (ide::syntax::MatchEnd(line)) {
        case ide::syntax::EndKind::Sub: return kindWord == "Sub";
        case ide::syntax::EndKind::Function: return kindWord == "Function";
        case ide::syntax::EndKind::Property: return kindWord == "Property";
        case ide::syntax::EndKind::None: return false;
    }
    return false;
}

long FindProcedureEnd(const ide::CodeModule& code, std::string_view kindWord, long declarationLast, long lastLine) {
    if (kindWord.empty()) return 0;
    for (long j = declarationLast + 1; j <= lastLine; ++j)
        if (IsProcedureEnd(code.Lines(j, 1), kindWord)) return j;
    return 0;
}

}  // namespace vex::engine
