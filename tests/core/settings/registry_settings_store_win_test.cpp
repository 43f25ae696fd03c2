// The registry store against the Win32 API, as VB6's SaveSetting and GetSetting see the same values.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/registry_settings_store.h"

namespace vex::settings {
namespace {

// An application of the tests' own, removed before and after, so that no user's settings are touched.
constexpr const char* kApp = "VexTools tests \xc3\xa9";  // "é": the key's name must be real UTF-16
const std::wstring kAppKey = std::wstring(kVbSettingsKey) + L"\\VexTools tests \u00e9";
const std::wstring kSectionKey = kAppKey + L"\\Section";

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey.c_str()); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey.c_str()); }

    // What another program stores with the Win32 API.
    static void Put(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSectionKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    static std::wstring Get(const wchar_t* name) {
        wchar_t buffer[512] = {};
        DWORD bytes = sizeof buffer;
        EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSectionKey.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes),
                  ERROR_SUCCESS);
        return buffer;
    }

    RegistrySettingsStore store;
};

TEST_F(RegistryStore, SavedValuesAreRegSzTextUnderVbsKey) {
    const struct {
        const char* key;
        std::string utf8;
        std::wstring stored;
    } cases[] = {
        {"LineJump", "10", L"10"},
        {"ErrorCodeClose", "Exit Sub\r\nErr_Handler:\r\n", L"Exit Sub\r\nErr_Handler:\r\n"},
        {"Modèle", "Résumé \xe2\x82\xac", L"R\u00e9sum\u00e9 \u20ac"},
        {"Empty", "", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        store.SaveSetting(kApp, "Section", c.key, c.utf8);
        EXPECT_EQ(store.Find(kApp, "Section", c.key), c.utf8);
        wchar_t name[64] = {};
        ::MultiByteToWideChar(CP_UTF8, 0, c.key, -1, name, 64);
        EXPECT_EQ(Get(name), c.stored);
    }
}

TEST_F(RegistryStore, ReadsWhatAnotherProgramWrote) {
    const std::wstring text = L"Caf\u00e9";
    Put(L"WithNul", REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    Put(L"WithoutNul", REG_SZ, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    const std::wstring longText(3000, L'x');  // more than the first read's buffer
    Put(L"Long", REG_SZ, longText.c_str(), static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 5;
    Put(L"Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.Find(kApp, "Section", "WithNul"), "Caf\xc3\xa9");
    EXPECT_EQ(store.Find(kApp, "Section", "WithoutNul"), "Caf\xc3\xa9");
    EXPECT_EQ(store.Find(kApp, "Section", "Long"), std::string(3000, 'x'));
    EXPECT_EQ(store.Find(kApp, "Section", "Number"), std::nullopt);  // not text: as if absent
    EXPECT_EQ(store.Find(kApp, "Section", "Missing"), std::nullopt);
    EXPECT_EQ(store.Find(kApp, "Other section", "WithNul"), std::nullopt);
    EXPECT_EQ(store.GetSetting(kApp, "Section", "Missing", "default"), "default");
}

}  // namespace
}  // namespace vex::settings
