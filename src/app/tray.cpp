#include "app/tray.h"

#include <windowsx.h>

#include <cstring>

namespace Module1 {
NotifyIconRecord TrayIconData{};
}

void FillTrayIconData(NotifyIconRecord& record, HWND hwnd, HICON icon) {
  record.cbSize = sizeof record;
  record.hWnd = hwnd;
  record.uID = kTrayIconId;
  record.uFlags = kTrayFlags;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  static constexpr char kTip[] = "Postlark";
  std::memset(record.szTip, ' ', sizeof record.szTip);
  std::memcpy(record.szTip, kTip, sizeof kTip);  // with its NUL
}

TrayAction DecodeTrayNotification(long number) {
  switch (number) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return TrayAction::Restore;
    case WM_RBUTTONUP:
      return TrayAction::Menu;
    default:
      return TrayAction::None;
  }
}

bool IsPointerMove(HWND hwnd, LPARAM lParam, DWORD messagePos) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(hwnd, &pt);
  return pt.x == GET_X_LPARAM(messagePos) && pt.y == GET_Y_LPARAM(messagePos);
}
