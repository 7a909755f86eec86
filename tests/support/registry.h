#pragma once
// Postlark's stored options (HKCU\Software\Postlark\Options) and the
// per-user settings the tests change around it.
#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

void ClearOptions();
void SetOption(const std::wstring& key, const std::wstring& value);
std::optional<std::wstring> GetOption(const std::wstring& key);
// The system DPI, which the next process started picks up.
void SetLogPixels(UINT dpi);

}  // namespace testing_support
