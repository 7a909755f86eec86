#include "settings/autostart.h"

#include <windows.h>

#include <vector>

#include "base/scoped.h"

namespace settings {

std::wstring RunCommand(const std::wstring& exePath) { return L"\"" + exePath + L"\""; }

bool StartsWithWindows(const std::wstring& exePath) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return false;
  std::vector<wchar_t> value(bytes / sizeof(wchar_t) + 1);
  DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
      ERROR_SUCCESS)
    return false;
  // Paths name the same file whatever their letter case.
  const std::wstring command = RunCommand(exePath);
  return CompareStringOrdinal(value.data(), -1, command.c_str(), -1, TRUE) == CSTR_EQUAL;
}

DWORD SetStartWithWindows(bool on, const std::wstring& exePath) {
  base::RegKey run;
  const LSTATUS opened =
      RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, run.Out(), nullptr);
  if (opened != ERROR_SUCCESS) return static_cast<DWORD>(opened);
  if (!on) {
    const LSTATUS removed = RegDeleteValueW(run.get(), kRunValue);
    return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(removed);
  }
  const std::wstring command = RunCommand(exePath);
  return static_cast<DWORD>(RegSetValueExW(run.get(), kRunValue, 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(command.c_str()),
                                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))));
}

std::wstring ThisExe() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

}  // namespace settings
