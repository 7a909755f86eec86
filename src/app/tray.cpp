#include "app/tray.h"

#include <algorithm>
#include <cstring>

#include "app/resource_ids.h"

namespace app {

namespace {

// The tip left-aligned in the 64-byte field, a NUL, then blanks to its end.
void PutTip(watch::NotifyIconRecord& record, const std::string& tip) {
  const size_t n = std::min(tip.size(), sizeof record.szTip - 1);
  std::memset(record.szTip, ' ', sizeof record.szTip);
  std::memcpy(record.szTip, tip.data(), n);
  record.szTip[n] = '\0';
}

}  // namespace

void FillTrayRecord(watch::NotifyIconRecord& record, HWND hwnd, HICON icon) {
  record.cbSize = sizeof record;
  record.hWnd = hwnd;
  record.uID = kTrayIconId;
  record.uFlags = kTrayFlags;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  PutTip(record, "Postlark");
}

std::string LastMailTip(const std::wstring& time, UINT codePage) {
  constexpr size_t kLongest = sizeof(watch::NotifyIconRecord::szTip) - 1;  // 63, and a NUL
  std::string tip = "Postlark: last mail at ";
  // Whole characters only, as many as fit.
  for (const wchar_t c : time) {
    char bytes[8];
    const int n = WideCharToMultiByte(codePage, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
    if (n <= 0 || tip.size() + static_cast<size_t>(n) > kLongest) break;
    tip.append(bytes, static_cast<size_t>(n));
  }
  return tip;
}

std::wstring ShortTimeNow() {
  wchar_t time[80] = {};
  const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 80);
  return n > 1 ? std::wstring(time, static_cast<size_t>(n - 1)) : std::wstring();
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

TrayIcon::TrayIcon(Notify notify)
    : notify_(std::move(notify)),
      menu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_SYSTRAY))),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  retryTimer_.Tick = [this] { TryAdd(); };
}

TrayIcon::~TrayIcon() { Delete(); }

void TrayIcon::Add(HWND owner, HICON icon) {
  FillTrayRecord(record_, owner, icon);
  wanted_ = true;
  TryAdd();
}

void TrayIcon::TryAdd() {
  // A busy shell may report a failed add and show the icon all the same: an
  // icon it will modify is there.
  shown_ = notify_(NIM_ADD, record_) || notify_(NIM_MODIFY, record_);
  retryTimer_.SetEnabled(wanted_ && !shown_);
}

void TrayIcon::Delete() {
  if (!wanted_) return;
  wanted_ = shown_ = false;
  retryTimer_.SetEnabled(false);
  notify_(NIM_DELETE, record_);
}

bool TrayIcon::OnShellMessage(UINT msg) {
  if (msg == 0 || msg != taskbarCreated_) return false;
  if (wanted_) TryAdd();
  return true;
}

void TrayIcon::SetTip(const std::string& tip) {
  PutTip(record_, tip);
  if (shown_) notify_(NIM_MODIFY, record_);
}

void TrayIcon::Check(UINT item, bool on) {
  CheckMenuItem(GetSubMenu(menu_.get(), 0), item, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void TrayIcon::SetItem(UINT item, const wchar_t* text, bool enabled) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(text);
  HMENU menu = GetSubMenu(menu_.get(), 0);
  SetMenuItemInfoW(menu, item, FALSE, &info);
  EnableMenuItem(menu, item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

UINT TrayIcon::ShowMenu() {
  HWND owner = record_.hWnd;
  // The window must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(owner);
  POINT pt;
  GetCursorPos(&pt);
  const UINT chosen = TrackPopupMenu(GetSubMenu(menu_.get(), 0), TPM_RETURNCMD, pt.x, pt.y, 0,
                                     owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace app
