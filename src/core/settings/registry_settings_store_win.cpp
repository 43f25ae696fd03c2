#include <windows.h>

#include <vector>

#include "errors/runtime_error.h"
#include "host/win32_text.h"
#include "settings/registry_settings_store.h"

namespace vex::settings {
namespace {

using host::win32::Wide;

std::wstring KeyPath(std::string_view app, std::string_view section) {
    return std::wstring(kVbSettingsKey) + L"\\" + Wide(app) + L"\\" + Wide(section);
}

[[noreturn]] void Fail(const std::wstring& key, const char* what, LSTATUS status) {
    throw errors::RuntimeError(errors::code::kPathFileAccess, "HKEY_CURRENT_USER\\" + host::win32::Utf8(key) + ": " +
                                                                  what + ": " +
                                                                  host::win32::ErrorText(static_cast<DWORD>(status)));
}

class Key {
public:
    ~Key() {
        if (key_) ::RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::string> RegistrySettingsStore::Find(std::string_view app, std::string_view section,
                                                       std::string_view key) const {
    const std::wstring path = KeyPath(app, section);
    Key k;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, k.Out());
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status != ERROR_SUCCESS) Fail(path, "cannot open", status);
    const std::wstring name = Wide(key);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status =
            ::RegQueryValueExW(k.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            buffer.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (status != ERROR_SUCCESS) Fail(path, "cannot read", status);
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        size_t length = bytes / sizeof(wchar_t);
        // The stored terminator is not part of the value (and some writers leave it out).
        if (length > 0 && buffer[length - 1] == L'\0') --length;
        return host::win32::Utf8(std::wstring_view(buffer.data(), length));
    }
}

void RegistrySettingsStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                        std::string_view value) {
    const std::wstring path = KeyPath(app, section);
    Key k;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE, nullptr, k.Out(), nullptr);
    if (status != ERROR_SUCCESS) Fail(path, "cannot create", status);
    const std::wstring text = Wide(value);
    status = ::RegSetValueExW(k.Get(), Wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) Fail(path, "cannot write", status);
}

}  // namespace vex::settings
