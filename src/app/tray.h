#pragma once
// Postlark's icon in the notification area, with its record and its menu.
// Its notifications arrive at the owner window as the mouse-move message
// (the callback message is WM_MOUSEMOVE), with the mouse message over the
// icon in place of the pointer's x. The owner is a hidden window, so no
// real pointer move ever arrives there. The icon is added and deleted with
// the 88-byte record; its longer tip, its marked image and a balloon go
// through the shell's wide record, which every shell since Windows 2000
// takes.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "base/scoped.h"
#include "ui/timer.h"
#include "watch/notify_icon_record.h"

namespace app {

inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;            // 0x200

// "Postlark", a NUL, then blanks to the end of the 64-byte field.
void FillTrayRecord(watch::NotifyIconRecord& record, HWND hwnd, HICON icon);

enum class TrayAction { None, Restore, Menu };

// What a notification asks for: 514 (left button up) and 515 (double click)
// restore, 517 (right button up) opens the menu, anything else nothing.
TrayAction DecodeTrayNotification(long number);

// Where the mark goes on an icon of that size: the lower right quarter, and
// never less than 6 pixels, so it shows at every DPI.
RECT MarkRect(int iconSize);
// The icon at that size with the mark drawn over it; the caller owns it.
HICON MarkedIcon(HICON icon, int size);

class TrayIcon {
 public:
  using Notify = std::function<BOOL(DWORD message, watch::NotifyIconRecord& record)>;
  using NotifyWide = std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)>;

  explicit TrayIcon(Notify notify = watch::NotifyIcon, NotifyWide notifyWide = nullptr);
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
  // forgot every icon, so ours is added again, with its tip and image.
  bool OnShellMessage(UINT msg);
  // The tip shown over the icon (at most 127 characters).
  void SetTip(const std::wstring& tip);
  // The icon with a mark over it, or plain.
  void SetMarked(bool marked);
  // One balloon from the icon.
  void ShowBalloon(const std::wstring& text);
  // A check mark beside a menu item, or none.
  void Check(UINT item, bool on);
  // A menu item's text, and whether it can be chosen.
  void SetItem(UINT item, const wchar_t* text, bool enabled);
  // The submenu `after` items below the item `item`, made anew.
  struct Entry {
    UINT id;
    std::wstring text;
    bool checked;
  };
  void SetSubmenu(UINT item, int after, const std::vector<Entry>& entries);
  // The menu at the pointer; the command chosen, or 0.
  UINT ShowMenu();

 private:
  void TryAdd();
  // Changes the shown icon through the wide record: those of `flags`.
  void Modify(UINT flags, const wchar_t* info = nullptr);

  // The record as it was added; the delete sends the same window and id.
  watch::NotifyIconRecord record_{};
  // Runs while an add has failed.
  ui::Timer retryTimer_{2000};

  Notify notify_;
  NotifyWide notifyWide_;
  base::Menu menu_;
  UINT taskbarCreated_;
  std::wstring tip_;  // empty: the record's own
  HICON plain_ = nullptr;
  struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
  };
  base::Scoped<IconTraits> marked_;  // shown while set
  bool wanted_ = false;  // between Add and Delete
  bool shown_ = false;   // the shell took the icon
};

}  // namespace app
