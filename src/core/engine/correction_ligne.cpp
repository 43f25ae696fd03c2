#include "engine/correction_ligne.h"

#include "errors/trap.h"

namespace vex::engine {
namespace {

std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(placeholder); at != std::string_view::npos; at = text.find(placeholder, from)) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + placeholder.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace

std::string CorrectionLigne(errors::ErrorReport& report, std::string_view block, std::string_view kindWord,
                            std::string_view procedureName, std::string_view rowText) {
    errors::Trap trap(report, "modEtude // CorrectionLigne");
    std::string result(block);
    if (!trap.Run([&] { result = ReplaceAll(result, kPlaceholderProcedureName, procedureName); })) return result;
    if (!trap.Run([&] { result = ReplaceAll(result, kPlaceholderFileName, rowText); })) return result;
    if (!trap.Run([&] { result = ReplaceAll(result, kPlaceholderSubFunction, kindWord); })) return result;
    return result;
}

}  // namespace vex::engine
