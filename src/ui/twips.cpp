#include "ui/twips.h"

#include "base/scoped.h"
#include "base/system_dll.h"

namespace ui {

UINT DpiFor(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = base::SystemProc<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (hwnd && getDpiForWindow) {
    if (UINT dpi = getDpiForWindow(hwnd)) return dpi;
  }
  const base::WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace ui
