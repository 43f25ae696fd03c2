#include "engine/line_number_options.h"

#include "settings/options.h"

namespace vex::engine {

LineNumberOptions ReadLineNumberOptions(const settings::SettingsStore& store, host::Notices* notices) {
    LineNumberOptions o;
    o.lineJump = settings::ReadLong32(store, settings::key::kLineJump, settings::defaults::kLineJump);
    o.resetLineNumber =
        settings::ReadBoolean(store, settings::key::kResetLineNumber, settings::defaults::kResetLineNumber);
    o.errorKey = settings::ToCodePage(store.Get(settings::key::kErrorKey, settings::defaults::kErrorKey),
                                      settings::key::kErrorKey, notices);
    return o;
}

}  // namespace vex::engine
