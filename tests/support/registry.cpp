#include "support/registry.h"

#include <vector>

#include "base/scoped.h"
#include "settings/settings_store.h"

namespace testing_support {

namespace {
const wchar_t kOptionsKey[] = L"Software\\Postlark\\Options";
}

void ClearOptions() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Postlark"); }

void SetOption(const std::wstring& key, const std::wstring& value) {
  settings::MakeRegistryStore()->SaveSetting(settings::kAppName, settings::kOptionsSection, key, value);
}

std::optional<std::wstring> GetOption(const std::wstring& key) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, key.c_str(), RRF_RT_REG_SZ, nullptr,
                   buffer.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer.data());
}

void SetLogPixels(UINT dpi) {
  base::RegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
    return;
  const DWORD value = dpi;
  RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace testing_support
