#include "engine/line_number_options.h"

#include "settings/options.h"

namespace vex::engine {

LineNumberOptions ReadLineNumberOptions(const settings::SettingsStore& store, host::Notices* notices) {
    LineNumberOptions o;
    o.lineJump = settings::ReadLong32(store, settings::key::kLineJump, settings::defaults::kLineJump);
    settings::CheckOption(settings::key::kLineJump, std::to_string(o.lineJump));
    o.resetLineNumber =
        settings::ReadBoolean(store, settings::key::kResetLineNumber, settings::defaults::kResetLineNumber);
    const std::string errorKey = store.Get(settings::key::kErrorKey, settings::defaults::kErrorKey);
    settings::CheckOption(settings::key::kErrorKey, errorKey);
    o.errorKey = settings::ToCodePage(errorKey, settings::key::kErrorKey, notices);
    return o;
}

}  // namespace vex::engine
