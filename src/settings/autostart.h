#pragma once
// "Start with Windows": the value "Postlark" under the user's Run key,
// holding this exe's full path in quotes. Only the user's choice in the tray
// menu writes or removes it; Postlark never adds itself.
#include <windows.h>

#include <string>

namespace settings {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L"Postlark";

// What the Run value holds for the exe at this path.
std::wstring RunCommand(const std::wstring& exePath);

// On when the value holds this exe's command. A value for another path (the
// exe was moved) counts as off.
bool StartsWithWindows(const std::wstring& exePath);
// Writes this exe's command, or removes the value: ERROR_SUCCESS, or why not.
DWORD SetStartWithWindows(bool on, const std::wstring& exePath);

// The full path of the running exe.
std::wstring ThisExe();

}  // namespace settings
