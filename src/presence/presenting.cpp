#include "presence/presenting.h"

#include <shellapi.h>

#include <cwchar>
#include <initializer_list>

namespace presence {
namespace {

bool IsShellWindow(HWND hwnd) {
  if (hwnd == GetDesktopWindow() || hwnd == GetShellWindow()) return true;
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
    if (std::wcscmp(cls, shell) == 0) return true;
  return false;
}

}  // namespace

bool IsFullScreen(const FrontWindow& front) {
  if (front.shell || front.hasCaption) return false;
  const RECT& window = front.rect;
  const RECT& monitor = front.monitor;
  return monitor.right > monitor.left && window.left <= monitor.left && window.top <= monitor.top &&
         window.right >= monitor.right && window.bottom >= monitor.bottom;
}

bool ShellSaysPresenting(int notificationState) {
  return notificationState == QUNS_BUSY || notificationState == QUNS_RUNNING_D3D_FULL_SCREEN ||
         notificationState == QUNS_PRESENTATION_MODE;
}

bool UserIsPresenting() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (SUCCEEDED(SHQueryUserNotificationState(&state)) && ShellSaysPresenting(state)) return true;
  HWND hwnd = GetForegroundWindow();
  if (!hwnd) return false;
  FrontWindow front{IsShellWindow(hwnd), (GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, {}, {}};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(hwnd, &front.rect) ||
      !GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
    return false;
  front.monitor = monitor.rcMonitor;
  return IsFullScreen(front);
}

}  // namespace presence
