#include "base/system_dll.h"

#include <string>

namespace base {
namespace {

// Searching by flags (LOAD_LIBRARY_SEARCH_*) came with Windows 8 and an
// update of Windows 7; AddDllDirectory is how a program tells. Asked every
// time: the pool's threads load DLLs too.
bool SearchFlagsWork() { return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr; }

}  // namespace

HMODULE LoadSystemDll(const wchar_t* name) {
  if (SearchFlagsWork()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, 0);
}

void KeepDllSearchSafe() {
  SetDllDirectoryW(L"");  // the current folder leaves the search order
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))))
    set(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace base
