// Postlark: tells its user, loudly, that new mail has arrived in Outlook.
#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "app/single_instance.h"
#include "base/system_dll.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A drive that is empty or not ready fails the call quietly instead of
  // asking the user to insert a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  base::KeepDllSearchSafe();

  app::SingleInstance instance;
  if (!instance.IsFirst() && instance.HandOver()) return 0;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  app::Platform platform = app::RealPlatform();
  platform.ending = [&instance] { instance.Release(); };
  app::Application postlark(std::move(platform));
  if (!postlark.Start()) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (postlark.OptionsHwnd() && IsDialogMessageW(postlark.OptionsHwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // The next start need not wait for what is left to end.
  instance.Release();
  return static_cast<int>(msg.wParam);
}
