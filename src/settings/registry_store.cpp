#include <windows.h>

#include <cwchar>
#include <vector>

#include "base/scoped.h"
#include "settings/settings_store.h"

namespace settings {

namespace {

std::wstring KeyPath(const std::wstring& app, const std::wstring& section) {
  return L"Software\\" + app + L"\\" + section;
}

// A multi-string's texts, ";" between them; its empty ones left out.
std::wstring JoinList(const std::vector<wchar_t>& buffer) {
  std::wstring list;
  for (const wchar_t* text = buffer.data(); text < buffer.data() + buffer.size() && *text;
       text += std::wcslen(text) + 1)
    list += (list.empty() ? L"" : L";") + std::wstring(text);
  return list;
}

class RegistryStore final : public SettingsStore {
 public:
  std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) override {
    const std::wstring path = KeyPath(app, section);
    DWORD bytes = 0;
    DWORD type = 0;
    constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), kTexts, &type, nullptr, &bytes) != ERROR_SUCCESS)
      return def;
    // The value may grow between the two calls; retry with the size reported.
    for (int attempt = 0; attempt < 4; ++attempt) {
      std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
      DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      const LSTATUS status =
          RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), kTexts, &type, buffer.data(), &size);
      if (status == ERROR_SUCCESS) return type == REG_MULTI_SZ ? JoinList(buffer) : std::wstring(buffer.data());
      if (status != ERROR_MORE_DATA) return def;
      bytes = size;
    }
    return def;
  }

  DWORD SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override {
    base::RegKey hkey;
    const LSTATUS opened = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                                           KEY_SET_VALUE, nullptr, hkey.Out(), nullptr);
    if (opened != ERROR_SUCCESS) return static_cast<DWORD>(opened);
    return static_cast<DWORD>(RegSetValueExW(hkey.get(), key.c_str(), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(value.c_str()),
                                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
  }
};

}  // namespace

std::unique_ptr<SettingsStore> MakeRegistryStore() { return std::make_unique<RegistryStore>(); }

}  // namespace settings
