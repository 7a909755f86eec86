#pragma once
// Postlark's icon in the notification area, with its record and its menu.
// Its notifications arrive at the owner window as the mouse-move message
// (the callback message is WM_MOUSEMOVE), with the mouse message over the
// icon in place of the pointer's x. The owner is a hidden window, so no
// real pointer move ever arrives there.
#include <windows.h>

#include <functional>
#include <string>

#include "base/scoped.h"
#include "ui/timer.h"
#include "watch/notify_icon_record.h"

namespace app {

inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;            // 0x200

// "Postlark", a NUL, then blanks to the end of the 64-byte field.
void FillTrayRecord(watch::NotifyIconRecord& record, HWND hwnd, HICON icon);

// The tip after an alert: "Postlark: last mail at " and the time as the
// user's short time format writes it, in the record's 8-bit code page (the
// one given), cut to the 63 characters the record holds without splitting a
// character.
std::string LastMailTip(const std::wstring& time, UINT codePage = CP_ACP);
// The time of day now in the user's short time format, without seconds.
std::wstring ShortTimeNow();

enum class TrayAction { None, Restore, Menu };

// What a notification asks for: 514 (left button up) and 515 (double click)
// restore, 517 (right button up) opens the menu, anything else nothing.
TrayAction DecodeTrayNotification(long number);

class TrayIcon {
 public:
  using Notify = std::function<BOOL(DWORD message, watch::NotifyIconRecord& record)>;

  explicit TrayIcon(Notify notify = watch::NotifyIcon);
  // Takes the icon away if it is still shown.
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The retry after a failed add ticks on the host (the owner window).
  void HostTimers(ui::TimerHost& host) { host.Host(retryTimer_); }

  // Fills the record for the owner window and adds the icon. At logon the
  // shell may not be ready for it: an add that fails is tried again every
  // two seconds until it succeeds.
  void Add(HWND owner, HICON icon);
  void Delete();
  // True when msg was the shell's "TaskbarCreated": the shell restarted and
  // forgot every icon, so ours is added again.
  bool OnShellMessage(UINT msg);
  // The tip shown over the icon (at most 63 characters).
  void SetTip(const std::string& tip);
  // A check mark beside a menu item, or none.
  void Check(UINT item, bool on);
  // A menu item's text, and whether it can be chosen.
  void SetItem(UINT item, const wchar_t* text, bool enabled);
  // The menu at the pointer; the command chosen, or 0.
  UINT ShowMenu();

 private:
  void TryAdd();

  // The record as it was added; the delete sends the same window and id.
  watch::NotifyIconRecord record_{};
  // Runs while an add has failed.
  ui::Timer retryTimer_{2000};

  Notify notify_;
  base::Menu menu_;
  UINT taskbarCreated_;
  bool wanted_ = false;  // between Add and Delete
  bool shown_ = false;   // the shell took the icon
};

}  // namespace app
