// Postlark: tells its user, loudly, that new mail has arrived in Outlook.
#include <windows.h>
#include <commctrl.h>

#include "app/form1.h"
#include "app/single_instance.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A drive that is empty or not ready fails the call quietly instead of
  // asking the user to insert a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  app::SingleInstance instance;
  if (!instance.IsFirst()) {
    instance.WakeRunning();
    return 0;
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  int exitCode = 0;
  {
    app::Form1 form(settings::MakeRegistryStore());
    if (!form.Load()) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (form.hwnd() && IsDialogMessageW(form.hwnd(), &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    exitCode = static_cast<int>(msg.wParam);
  }
  return exitCode;
}
