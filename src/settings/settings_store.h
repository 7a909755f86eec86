#pragma once
// The per-user settings store: text values addressed by application, section
// and key. Postlark keeps them in the registry under
// HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ per key.
#include <windows.h>

#include <memory>
#include <string>

namespace settings {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or def when the key is absent or unreadable. A list
  // of texts (written by hand as a multi-string) reads with ";" between them.
  virtual std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                                  const std::wstring& key, const std::wstring& def) = 0;
  // ERROR_SUCCESS, or why the value could not be written.
  virtual DWORD SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                            const std::wstring& value) = 0;
};

std::unique_ptr<SettingsStore> MakeRegistryStore();

inline const std::wstring kAppName = L"Postlark";
inline const std::wstring kOptionsSection = L"Options";

}  // namespace settings
