#include "app/single_instance.h"

#include <algorithm>

#include "app/options_window.h"

namespace app {

namespace {
constexpr wchar_t kName[] = L"Local\\Postlark.SingleInstance";
}

SingleInstance::SingleInstance() { TryTake(); }

bool SingleInstance::TryTake() {
  mutex_.Reset();  // our own handle would keep the object alive
  mutex_.Reset(CreateMutexW(nullptr, FALSE, kName));
  const DWORD error = GetLastError();
  // A copy that holds the object where this one may not open it (started
  // elevated, say) is still a copy already watching.
  first_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
  if (!first_) mutex_.Reset();
  return first_;
}

bool SingleInstance::HandOver() {
  const UINT restore = RegisterWindowMessageW(kRestoreMessageName);
  // 5 s for an answer, however long each try waits on a window that hangs.
  const ULONGLONG end = GetTickCount64() + 5000;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    // A copy of an earlier version takes it at its options window.
    HWND running = FindWindowW(kMessageWindowClass, nullptr);
    if (!running) running = FindWindowW(kOptionsWindowClass, nullptr);
    if (running) {
      // The running copy may bring itself to the front: we are the
      // foreground process the user just started.
      DWORD pid = 0;
      GetWindowThreadProcessId(running, &pid);
      AllowSetForegroundWindow(pid);
      DWORD_PTR result = 0;
      const UINT wait = static_cast<UINT>(std::min<ULONGLONG>(1000, end - now));
      if (SendMessageTimeoutW(running, restore, 0, 0, SMTO_ABORTIFHUNG, wait, &result)) return true;
    }
    Sleep(100);
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (TryTake()) return false;
    Sleep(100);
  }
  return true;
}

}  // namespace app
