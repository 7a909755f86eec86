#include "presence/presenting.h"

#include <shellapi.h>

#include <cwchar>
#include <initializer_list>

namespace presence {
namespace {

bool IsShellWindow(HWND hwnd, const wchar_t* cls) {
  if (hwnd == GetDesktopWindow() || hwnd == GetShellWindow()) return true;
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
    if (std::wcscmp(cls, shell) == 0) return true;
  return false;
}

}  // namespace

bool IsFullScreen(const FrontWindow& front) {
  if (front.shell || front.away || front.hasCaption) return false;
  const RECT& window = front.rect;
  const RECT& monitor = front.monitor;
  return monitor.right > monitor.left && window.left <= monitor.left && window.top <= monitor.top &&
         window.right >= monitor.right && window.bottom >= monitor.bottom;
}

bool IsAwayScreen(const wchar_t* className, const wchar_t* title) {
  return std::wcscmp(className, L"WindowsScreenSaverClass") == 0 ||
         std::wcscmp(className, L"LockScreenBackstopFrame") == 0 ||
         (std::wcscmp(className, L"Windows.UI.Core.CoreWindow") == 0 &&
          std::wcscmp(title, L"Windows Default Lock Screen") == 0);
}

bool ShellSaysPresenting(int notificationState) {
  return notificationState == QUNS_BUSY || notificationState == QUNS_RUNNING_D3D_FULL_SCREEN ||
         notificationState == QUNS_PRESENTATION_MODE;
}

bool ShellSaysAway(int notificationState) { return notificationState == QUNS_NOT_PRESENT; }

bool UserIsPresenting() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (SUCCEEDED(SHQueryUserNotificationState(&state))) {
    if (ShellSaysAway(state)) return false;
    if (ShellSaysPresenting(state)) return true;
  }
  HWND hwnd = GetForegroundWindow();
  if (!hwnd) return false;
  wchar_t cls[64] = {}, title[64] = {};
  GetClassNameW(hwnd, cls, 64);
  GetWindowTextW(hwnd, title, 64);
  FrontWindow front{IsShellWindow(hwnd, cls), IsAwayScreen(cls, title),
                    (GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, {}, {}};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(hwnd, &front.rect) ||
      !GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
    return false;
  front.monitor = monitor.rcMonitor;
  return IsFullScreen(front);
}

}  // namespace presence
