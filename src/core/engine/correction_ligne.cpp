#include "engine/correction_ligne.h"

#include "errors/trap.h"

namespace vex::engine {
namespace {

// Replaces every `placeholder` in `text`, left to right. A text without one is left as it is: most
// blocks hold one or two of the three placeholders, and each procedure fills two blocks.
void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view replacement) {
    size_t at = text.find(placeholder);
    if (at == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + replacement.size());
    size_t from = 0;
    for (; at != std::string::npos; at = text.find(placeholder, from)) {
        out.append(text, from, at - from);
        out.append(replacement);
        from = at + placeholder.size();
    }
    out.append(text, from);
    text = std::move(out);
}

}  // namespace

std::string CorrectionLigne(errors::ErrorReport& report, std::string_view block, std::string_view kindWord,
                            std::string_view procedureName, std::string_view rowText) {
    errors::Trap trap(report, "modEtude // CorrectionLigne");
    std::string result(block);
    if (!trap.Run([&] { ReplaceAll(result, kPlaceholderProcedureName, procedureName); })) return result;
    if (!trap.Run([&] { ReplaceAll(result, kPlaceholderFileName, rowText); })) return result;
    if (!trap.Run([&] { ReplaceAll(result, kPlaceholderSubFunction, kindWord); })) return result;
    return result;
}

}  // namespace vex::engine
