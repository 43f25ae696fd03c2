#include "engine/handler_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "engine/host.h"
#include "errors/runtime_error.h"
#include "settings/settings_store.h"
#include "text/cp1252.h"

namespace vex::engine {
namespace {

// Local readers of the stored options; the shared option module takes their place once available.
namespace local_options {

constexpr std::string_view kEngineErrorCodeClose =
    "Exit $$SubFunction$$\r\n"
    "ErreurOrvel:\r\n"
    "Select Case gestErreur(\"$$ProcedureName$$\", Err, Erl)\r\n"
    "   Case vbRetry\r\n"
    "       Err = 0\r\n"
    "       Resume\r\n"
    "   Case vbIgnore\r\n"
    "       Err = 0\r\n"
    "      Resume Next\r\n"
    "  Case vbAbort\r\n"
    "End Select";

double ToNumber(const std::string& value) {
    const std::string t(text::Trim(value));
    if (t.empty()) throw errors::RuntimeError(errors::code::kTypeMismatch, "Type mismatch");
    char* end = nullptr;
    errno = 0;
    const double d = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(d))
        throw errors::RuntimeError(errors::code::kTypeMismatch, "Type mismatch");
    return d;
}

int16_t ToInt16(const std::string& value) {
    const double r = std::nearbyint(ToNumber(value));  // the default rounding mode: halves to even
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max()) throw errors::Overflow();
    return static_cast<int16_t>(r);
}

}  // namespace local_options

std::string ToCode(const std::string& utf8, std::string_view key, Notices& notices) {
    bool lossy = false;
    std::string code = text::FromUtf8(utf8, &lossy);
    if (lossy)
        notices.Notice(std::string("The option ") + std::string(key) +
                       " holds characters that Windows-1252 cannot hold; they are written as \"?\".");
    return code;
}

}  // namespace

void LoadHandlerOptions(const settings::SettingsStore& store, Notices& notices, HandlerOptions& out) {
    out.strErrorKey = ToCode(store.Get("ErrorKey", "%Manage Error%"), "ErrorKey", notices);
    out.strSeparatorLine = "'########## " + out.strErrorKey + " ##########";
    out.strNoErrorKey = ToCode(store.Get("NoErrorKey", " %No Manage Error%"), "NoErrorKey", notices);
    out.strErrorCodeStart = ToCode(store.Get("ErrorCodeStart", "On Error GoTo ErreurOrvel"), "ErrorCodeStart", notices);
    out.strErrorCodeClose =
        ToCode(store.Get("ErrorCodeClose", local_options::kEngineErrorCodeClose), "ErrorCodeClose", notices);
    out.blnViewResult = local_options::ToNumber(store.Get("ViewResult", "1")) != 0;
}

int16_t ReadTabulation(const settings::SettingsStore& store) { return local_options::ToInt16(store.Get("Tabulation", "4")); }
int16_t ReadTabStart(const settings::SettingsStore& store) { return local_options::ToInt16(store.Get("TabStart", "4")); }

}  // namespace vex::engine
