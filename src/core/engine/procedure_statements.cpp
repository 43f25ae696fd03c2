#include "engine/procedure_statements.h"

#include "ide/declaration_end.h"
#include "ide/logical_line.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::engine {

std::string KindWord(const ide::CodeModule& code, long bodyLine) {
    const auto d = ide::syntax::MatchDeclaration(ide::JoinStatement(code, bodyLine, ide::StatementLast(code, bodyLine)));
    if (!d) return {};
    if (d->kind != ide::ProcKind::Proc) return "Property";
    return text::IEquals(d->keyword, "Sub") ? "Sub" : "Function";
}

long DeclarationLastLine(const ide::CodeModule& code, long bodyLine, long lastLine) {
    std::string scratch;  // each line is read where it stands, and used before the next is read
    return ide::DeclarationEnd([&](long j) { return code.LineText(j, scratch); }, bodyLine, lastLine);
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
    std::string scratch;
    for (long j = declarationLast + 1; j <= lastLine; ++j)
        if (IsProcedureEnd(code.LineText(j, scratch), kindWord) && !ide::IsContinuationLine(code, j)) return j;
    return 0;
}

}  // namespace vex::engine
