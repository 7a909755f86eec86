#pragma once
// DLLs of Windows' own that Postlark loads when it first needs them, from the
// system folder and nowhere else: on a Windows that lacks one there, a DLL of
// that name beside postlark.exe (in a Downloads folder, say) must not load.
#include <windows.h>

namespace base {

HMODULE LoadSystemDll(const wchar_t* name);

// A function of a system DLL, or null where this Windows lacks it.
template <class F>
F SystemProc(const wchar_t* dll, const char* name) {
  const HMODULE module = LoadSystemDll(dll);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// At start-up: whatever loads a DLL by name in this process never looks in
// the current folder for it.
void KeepDllSearchSafe();

}  // namespace base
