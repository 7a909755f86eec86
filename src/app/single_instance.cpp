#include "app/single_instance.h"

#include "app/form1.h"

namespace app {

SingleInstance::SingleInstance()
    : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Postlark.SingleInstance")) {
  const DWORD error = GetLastError();
  // A copy that holds the object where this one may not open it (started
  // elevated, say) is still a copy already watching.
  first_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

void SingleInstance::WakeRunning() const {
  const UINT restore = RegisterWindowMessageW(kRestoreMessageName);
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (HWND running = FindWindowW(kForm1Class, nullptr)) {
      // The running copy may bring itself to the front: we are the
      // foreground process the user just started.
      DWORD pid = 0;
      GetWindowThreadProcessId(running, &pid);
      AllowSetForegroundWindow(pid);
      PostMessageW(running, restore, 0, 0);
      return;
    }
    Sleep(100);
  }
}

}  // namespace app
