#include "presence/presenting.h"

#include <shellapi.h>

#include <initializer_list>

namespace presence {
namespace {

bool IsShell(const FrontWindow& front) {
  if (front.desktop) return true;
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
    if (front.className == shell) return true;
  return false;
}

bool IsAwayScreen(const FrontWindow& front) {
  return front.className == L"WindowsScreenSaverClass" || front.className == L"LockScreenBackstopFrame" ||
         (front.className == L"Windows.UI.Core.CoreWindow" && front.title == L"Windows Default Lock Screen");
}

}  // namespace

bool IsPresenting(int shellState, const FrontWindow* front) {
  switch (shellState) {
    case QUNS_NOT_PRESENT:
      return false;
    case QUNS_BUSY:
    case QUNS_RUNNING_D3D_FULL_SCREEN:
    case QUNS_PRESENTATION_MODE:
      return true;
  }
  if (!front || IsShell(*front) || IsAwayScreen(*front) || front->hasCaption) return false;
  const RECT& window = front->rect;
  const RECT& monitor = front->monitor;
  return monitor.right > monitor.left && window.left <= monitor.left && window.top <= monitor.top &&
         window.right >= monitor.right && window.bottom >= monitor.bottom;
}

bool UserIsPresenting() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) state = static_cast<QUERY_USER_NOTIFICATION_STATE>(0);
  HWND hwnd = GetForegroundWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  FrontWindow front{};
  const bool known = hwnd && GetWindowRect(hwnd, &front.rect) &&
                     GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  if (known) {
    wchar_t cls[64] = {}, title[64] = {};
    GetClassNameW(hwnd, cls, 64);
    GetWindowTextW(hwnd, title, 64);
    front.className = cls;
    front.title = title;
    front.desktop = hwnd == GetDesktopWindow() || hwnd == GetShellWindow();
    front.hasCaption = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    front.monitor = monitor.rcMonitor;
  }
  return IsPresenting(state, known ? &front : nullptr);
}

}  // namespace presence
