#include "engine/line_number_options.h"

#include "engine/vb_number.h"
#include "settings/settings_store.h"
#include "text/cp1252.h"

namespace vex::engine {

LineNumberOptions ReadLineNumberOptions(const settings::SettingsStore& store) {
    LineNumberOptions o;
    o.lineJump = ToLong(store.Get("LineJump", "10"));
    o.resetLineNumber = ToBoolean(store.Get("ResetLineNumber", "1"));
    o.errorKey = text::FromUtf8(store.Get("ErrorKey", "%Manage Error%"));
    return o;
}

}  // namespace vex::engine
