#include "support/paths.h"

#include <windows.h>

#include <vector>

namespace testing_support {

std::wstring Env(const wchar_t* name) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  return n ? std::wstring(buffer.data(), n) : std::wstring();
}

std::wstring WinPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

namespace {
std::wstring FromEnvOrTestsFolder(const wchar_t* variable, const wchar_t* relative) {
  const std::wstring set = Env(variable);
  if (!set.empty()) return WinPath(set);
  wchar_t full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(relative, MAX_PATH * 2, full, nullptr);
  return n ? std::wstring(full, n) : relative;
}
}  // namespace

std::wstring PostlarkExe() { return FromEnvOrTestsFolder(L"POSTLARK_EXE", L"..\\postlark.exe"); }
std::wstring StandInExe() { return FromEnvOrTestsFolder(L"POSTLARK_STAND_IN", L"stand_in_outlook.exe"); }
std::wstring StandInNotificationsDll() {
  return FromEnvOrTestsFolder(L"POSTLARK_STAND_IN_NOTIFICATIONS", L"stand_in_notifications.dll");
}
std::wstring TestDataFolder() { return FromEnvOrTestsFolder(L"POSTLARK_TEST_DATA", L"..\\testdata"); }

std::wstring TestFolder(const std::wstring& name) {
  std::wstring root = TestDataFolder();
  if (root.back() != L'\\' && root.back() != L'/') root += L'\\';
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

bool MakeFile(const std::wstring& path, DWORD attributes, DWORD bytes) {
  Remove(path);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::string content(bytes, 'm');
  DWORD written = 0;
  const bool made = WriteFile(h, content.data(), bytes, &written, nullptr) && written == bytes;
  CloseHandle(h);
  return made;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Remove(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
  RemoveDirectoryW(path.c_str());
}

}  // namespace testing_support
