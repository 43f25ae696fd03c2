#pragma once
// CorrectionLigne: fills the placeholders of an error-handler template.

#include <string>
#include <string_view>

namespace vex::errors {
class ErrorReport;
}

namespace vex::engine {

inline constexpr std::string_view kPlaceholderProcedureName = "$$ProcedureName$$";
inline constexpr std::string_view kPlaceholderFileName = "$$FileName$$";
inline constexpr std::string_view kPlaceholderSubFunction = "$$SubFunction$$";

/// `block` with every "$$ProcedureName$$" replaced by `procedureName`, then every "$$FileName$$" by
/// `rowText`, then every "$$SubFunction$$" by `kindWord` (placeholders matched case-sensitively; text
/// put in by a replacement is not searched again). Errors are reported as "modEtude // CorrectionLigne";
/// on Abort the block is returned as far as it was filled.
std::string CorrectionLigne(errors::ErrorReport& report, std::string_view block, std::string_view kindWord,
                            std::string_view procedureName, std::string_view rowText);

}  // namespace vex::engine
