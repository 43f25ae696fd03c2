#pragma once
// frmOption's load and save procedures without the widgets: the editing controls are plain fields that a
// dialog binds to its widgets and the command line fills from its arguments.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace vex::errors {
class ErrorReport;
}

namespace vex::settings {

/// Check box states.
namespace check {
inline constexpr int16_t kUnchecked = 0;
inline constexpr int16_t kChecked = 1;
inline constexpr int16_t kGrayed = 2;
}  // namespace check

/// The editing controls of the options dialog. Texts are UTF-8.
struct OptionsForm {
    std::string txtIncrement;          ///< LineJump
    int16_t chkResetIncrement = 0;     ///< ResetLineNumber
    std::string txtSeparatrice;        ///< ErrorKey
    std::string txtDesableError;       ///< NoErrorKey
    std::string txtDebut;              ///< ErrorCodeStart
    std::string txtEndCode;            ///< ErrorCodeClose
    int16_t chkViewResult = 0;         ///< ViewResult
    std::string txtTabulation;         ///< Tabulation
    std::string txtTabInit;            ///< TabStart
};

/// What the dialog shows on an empty store (the dialog set of templates).
OptionsForm DialogDefaults();

class OptionsModel {
public:
    explicit OptionsModel(SettingsStore& store) : store_(store) {}

    OptionsForm form;

    /// Fills `form` from the store, control by control in the dialog's order, with the dialog defaults.
    /// Traps nothing: a check box value that does not convert throws RuntimeError (13 or 6) to the
    /// caller's trap, leaving the later controls as they were.
    void ChargeOptions();

    /// Saves `form` to the store in the dialog's order, each step under the trap "frmOption // Apply":
    /// a LineJump text that is not numeric is not saved and the box gets the stored value back; a
    /// Tabulation or TabStart text that is not numeric is skipped silently; check boxes save "1" for any
    /// non-zero state; texts are saved unchanged. Returns false when the user aborted at a failing step
    /// (the later keys keep their stored values).
    bool Apply(errors::ErrorReport& report);

private:
    SettingsStore& store_;
};

/// The outcome of storing one value by the dialog's rules.
enum class SetOutcome { Stored, NotNumeric, Refused };

/// Stores `value` under `key` as OK in the dialog would: LineJump, Tabulation and TabStart only when
/// numeric, as typed; ResetLineNumber and ViewResult, which the dialog edits with check boxes, as "1" when
/// the value is a non-zero number and "0" when zero (refused when not numeric); any other key unchanged.
/// A value OptionProblem names is Refused and nothing is stored.
/// Throws RuntimeError when the store fails.
SetOutcome SetOption(SettingsStore& store, std::string_view key, std::string_view value);

}  // namespace vex::settings
