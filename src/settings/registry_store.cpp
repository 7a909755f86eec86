#include <windows.h>

#include <vector>

#include "base/scoped.h"
#include "settings/settings_store.h"

namespace settings {

namespace {

std::wstring KeyPath(const std::wstring& app, const std::wstring& section) {
  return L"Software\\" + app + L"\\" + section;
}

class RegistryStore final : public SettingsStore {
 public:
  std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) override {
    const std::wstring path = KeyPath(app, section);
    DWORD bytes = 0;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                     &bytes) != ERROR_SUCCESS)
      return def;
    // The value may grow between the two calls; retry with the size reported.
    for (int attempt = 0; attempt < 4; ++attempt) {
      std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
      DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(),
                                          RRF_RT_REG_SZ, &type, buffer.data(), &size);
      if (status == ERROR_SUCCESS) return std::wstring(buffer.data());
      if (status != ERROR_MORE_DATA) return def;
      bytes = size;
    }
    return def;
  }

  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override {
    base::RegKey hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, hkey.Out(), nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExW(hkey.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
};

}  // namespace

std::unique_ptr<SettingsStore> MakeRegistryStore() { return std::make_unique<RegistryStore>(); }

}  // namespace settings
