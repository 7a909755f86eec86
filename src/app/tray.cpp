#include "app/tray.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

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

template <size_t N>
void Put(wchar_t (&field)[N], const std::wstring& text) {
  const size_t n = std::min(text.size(), N - 1);
  std::wmemcpy(field, text.data(), n);
  field[n] = L'\0';
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

RECT MarkRect(int iconSize) {
  const int side = std::max(iconSize / 2, std::min(6, iconSize));
  return {iconSize - side, iconSize - side, iconSize, iconSize};
}

HICON MarkedIcon(HICON icon, int size) {
  const base::WindowDc screen(nullptr);
  const base::MemoryDc dc(CreateCompatibleDC(screen.get()));
  const base::GdiObject<HBITMAP> color(CreateCompatibleBitmap(screen.get(), size, size));
  const base::GdiObject<HBITMAP> mask(CreateBitmap(size, size, 1, 1, nullptr));
  if (!dc || !color || !mask) return nullptr;
  const RECT mark = MarkRect(size);
  // Red with a white rim on the picture; opaque (0) in the mask.
  const base::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(200, 30, 30)));
  const base::GdiObject<HPEN> rim(CreatePen(PS_SOLID, std::max(1, size / 16), RGB(255, 255, 255)));
  {
    const base::Selection into(dc.get(), color.get());
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_IMAGE);
    const base::Selection brush(dc.get(), red.get());
    const base::Selection pen(dc.get(), rim.get());
    Ellipse(dc.get(), mark.left, mark.top, mark.right, mark.bottom);
  }
  {
    const base::Selection into(dc.get(), mask.get());
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_MASK);
    const base::Selection brush(dc.get(), GetStockObject(BLACK_BRUSH));
    const base::Selection pen(dc.get(), GetStockObject(BLACK_PEN));
    Ellipse(dc.get(), mark.left, mark.top, mark.right, mark.bottom);
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  return CreateIconIndirect(&info);
}

TrayIcon::TrayIcon(Notify notify, NotifyWide notifyWide)
    : notify_(std::move(notify)),
      notifyWide_(notifyWide ? std::move(notifyWide)
                             : NotifyWide([](DWORD m, NOTIFYICONDATAW& d) { return Shell_NotifyIconW(m, &d); })),
      menu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_SYSTRAY))),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  retryTimer_.Tick = [this] { TryAdd(); };
}

TrayIcon::~TrayIcon() { Delete(); }

void TrayIcon::Add(HWND owner, HICON icon) {
  FillTrayRecord(record_, owner, icon);
  plain_ = icon;
  wanted_ = true;
  TryAdd();
}

void TrayIcon::TryAdd() {
  // A busy shell may report a failed add and show the icon all the same: an
  // icon it will modify is there.
  shown_ = notify_(NIM_ADD, record_) || notify_(NIM_MODIFY, record_);
  retryTimer_.SetEnabled(wanted_ && !shown_);
  // Added anew, it is as the record made it: the tip and mark come back.
  if (shown_ && (!tip_.empty() || marked_)) Modify(NIF_TIP | NIF_ICON);
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

void TrayIcon::Modify(UINT flags, const wchar_t* info) {
  if (!shown_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = record_.hWnd;
  data.uID = record_.uID;
  data.uFlags = flags;
  data.hIcon = marked_ ? marked_.get() : plain_;
  Put(data.szTip, tip_.empty() ? L"Postlark" : tip_);
  if (info) {
    Put(data.szInfoTitle, L"Postlark");
    Put(data.szInfo, info);
    data.dwInfoFlags = NIIF_WARNING;
  }
  notifyWide_(NIM_MODIFY, data);
}

void TrayIcon::SetTip(const std::wstring& tip) {
  if (tip == tip_) return;
  tip_ = tip;
  Modify(NIF_TIP);
}

void TrayIcon::SetMarked(bool marked) {
  if (marked == static_cast<bool>(marked_)) return;
  // The size the notification area shows, at the system's DPI.
  marked_.Reset(marked ? MarkedIcon(plain_, GetSystemMetrics(SM_CXSMICON)) : nullptr);
  Modify(NIF_ICON);
}

void TrayIcon::ShowBalloon(const std::wstring& text) { Modify(NIF_INFO, text.c_str()); }

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

void TrayIcon::SetSubmenu(UINT item, int after, const std::vector<Entry>& entries) {
  HMENU menu = GetSubMenu(menu_.get(), 0);
  int position = 0;
  while (position < GetMenuItemCount(menu) && GetMenuItemID(menu, position) != item) ++position;
  HMENU sub = GetSubMenu(menu, position + after);
  if (!sub) return;
  while (GetMenuItemCount(sub) > 0) DeleteMenu(sub, 0, MF_BYPOSITION);
  for (const Entry& e : entries)
    AppendMenuW(sub, MF_STRING | (e.checked ? MF_CHECKED : MF_UNCHECKED), e.id, e.text.c_str());
}

UINT TrayIcon::ShowMenu() {
  HWND owner = record_.hWnd;
  // The window must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(owner);
  POINT pt;
  GetCursorPos(&pt);
  const UINT chosen = TrackPopupMenu(GetSubMenu(menu_.get(), 0), TPM_RETURNCMD, pt.x, pt.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace app
