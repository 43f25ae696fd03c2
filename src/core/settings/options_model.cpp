#include "settings/options_model.h"

#include <cmath>

#include "errors/trap.h"
#include "settings/numeric.h"
#include "settings/options.h"

namespace vex::settings {
namespace {

const char* CheckText(int16_t state) { return state != check::kUnchecked ? "1" : "0"; }

bool IsCheckBoxKey(std::string_view k) { return k == key::kResetLineNumber || k == key::kViewResult; }

bool IsNumericKey(std::string_view k) { return k == key::kLineJump || k == key::kTabulation || k == key::kTabStart; }

}  // namespace

OptionsForm DialogDefaults() {
    OptionsForm f;
    f.txtIncrement = DialogDefault(key::kLineJump);
    f.chkResetIncrement = defaults::kResetLineNumber;
    f.txtSeparatrice = DialogDefault(key::kErrorKey);
    f.txtDesableError = DialogDefault(key::kNoErrorKey);
    f.txtDebut = DialogDefault(key::kErrorCodeStart);
    f.txtEndCode = DialogDefault(key::kErrorCodeClose);
    f.chkViewResult = defaults::kViewResult;
    f.txtTabulation = DialogDefault(key::kTabulation);
    f.txtTabInit = DialogDefault(key::kTabStart);
    return f;
}

void OptionsModel::ChargeOptions() {
    form.txtIncrement = store_.Get(key::kLineJump, DialogDefault(key::kLineJump));
    form.chkResetIncrement = ReadInt16(store_, key::kResetLineNumber, defaults::kResetLineNumber);
    form.txtSeparatrice = store_.Get(key::kErrorKey, DialogDefault(key::kErrorKey));
    form.txtDesableError = store_.Get(key::kNoErrorKey, DialogDefault(key::kNoErrorKey));
    form.txtDebut = store_.Get(key::kErrorCodeStart, DialogDefault(key::kErrorCodeStart));
    form.txtEndCode = store_.Get(key::kErrorCodeClose, DialogDefault(key::kErrorCodeClose));
    form.chkViewResult = ReadInt16(store_, key::kViewResult, defaults::kViewResult);
    form.txtTabulation = store_.Get(key::kTabulation, DialogDefault(key::kTabulation));
    form.txtTabInit = store_.Get(key::kTabStart, DialogDefault(key::kTabStart));
}

bool OptionsModel::Apply(errors::ErrorReport& report) {
    errors::Trap trap(report, "frmOption // Apply");
    const auto save = [&](std::string_view k, const std::string& v) {
        return trap.Run([&] {
            CheckOption(k, v);
            store_.Save(k, v);
        });
    };
    return trap.Run([&] {
               if (IsNumeric(form.txtIncrement)) {
                   CheckOption(key::kLineJump, form.txtIncrement);
                   store_.Save(key::kLineJump, form.txtIncrement);
               }
               else
                   form.txtIncrement = store_.Get(key::kLineJump, DialogDefault(key::kLineJump));
           }) &&
           save(key::kResetLineNumber, CheckText(form.chkResetIncrement)) &&
           save(key::kErrorKey, form.txtSeparatrice) &&
           save(key::kNoErrorKey, form.txtDesableError) &&
           save(key::kErrorCodeStart, form.txtDebut) &&
           save(key::kErrorCodeClose, form.txtEndCode) &&
           save(key::kViewResult, CheckText(form.chkViewResult)) &&
           trap.Run([&] {
               if (IsNumeric(form.txtTabulation)) store_.Save(key::kTabulation, form.txtTabulation);
           }) &&
           trap.Run([&] {
               if (IsNumeric(form.txtTabInit)) store_.Save(key::kTabStart, form.txtTabInit);
           });
}

SetOutcome SetOption(SettingsStore& store, std::string_view k, std::string_view value) {
    if (!OptionProblem(k, value).empty()) return SetOutcome::Refused;
    if (IsNumericKey(k) || IsCheckBoxKey(k)) {
        const auto number = ParseNumber(value);
        if (!IsNumeric(value)) return SetOutcome::NotNumeric;
        if (IsCheckBoxKey(k)) {
            // The check box holds a whole number: "0.4" leaves it clear.
            store.Save(k, !number || std::nearbyint(*number) != 0 ? "1" : "0");
            return SetOutcome::Stored;
        }
    }
    store.Save(k, value);
    return SetOutcome::Stored;
}

}  // namespace vex::settings
