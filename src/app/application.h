#pragma once
// Postlark as a whole: the one object that owns every part (the options and
// their store, the mail sources, the alert effects, the check cycle between
// them, presence, the tray icon, the clip window and the options window) and
// wires them together. What it runs on comes in a Platform: the machine's
// own, or a test's stand-ins.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alerts/clip.h"
#include "alerts/drives.h"
#include "app/options_window.h"
#include "app/tray.h"
#include "presence/idle_watch.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "ui/message_window.h"
#include "watch/check_cycle.h"
#include "watch/envelope_probe.h"
#include "watch/marker_file.h"
#include "watch/notifications.h"

namespace app {

struct Platform {
  std::unique_ptr<settings::SettingsStore> store;
  watch::DesktopWindows* desktop;
  std::shared_ptr<watch::MarkerFileSystem> files;
  presence::InputState* input;
  std::function<bool()> presenting;
  TrayIcon::Notify notify;
  TrayIcon::NotifyWide notifyWide;  // null: the shell's
  // Shared with commands that a hung drive may keep past the end.
  std::shared_ptr<alerts::Machine> machine;
  std::function<std::unique_ptr<alerts::ClipView>()> makeClipWindow;
  // Where relative paths, the marker's and the clip's, start.
  std::wstring folder;
  // Who gives the timers their ticks; null: the message window.
  ui::TimerHost* timers = nullptr;
  // Just before the process ends at once (the Exit button).
  std::function<void()> ending;
  // Windows' toast list; the class is loaded on the first watching tick.
  std::function<std::unique_ptr<watch::NotificationList>()> makeNotifications;
  // Milliseconds, for pauses; the time Postlark started, as a FILETIME.
  std::function<ULONGLONG()> clock;
  std::int64_t started = 0;
};

Platform RealPlatform();

class Application {
 public:
  explicit Application(Platform platform);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up, up to the first tick; false when a window cannot be made.
  bool Start();
  HWND OptionsHwnd() const { return options_.hwnd(); }
  // Where the tray icon's notifications and the program's messages arrive.
  HWND MessageHwnd() const { return window_.hwnd(); }

 private:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnTrayIcon(LPARAM lParam);
  void ShowTrayMenu();
  void ToggleStartWithWindows();
  void WatchNotificationsChosen();
  // The tip says where the last mail came from, whether alerts are paused
  // and which source the user turned on does not hear; the mark shows the
  // last two.
  void ShowState();
  // Alerts held for so long, or (0) until the user resumes; not stored.
  void Pause(ULONGLONG ms);
  bool Paused();
  // The mail apps the menu lists: the new Outlook, the apps seen since
  // start, the ones the user listed; each counted as mail or not.
  struct AppChoice {
    std::wstring id, name;
    bool mail;
  };
  std::vector<AppChoice> AppChoices() const;
  // Said once: Postlark goes on with what the user chose.
  void SaveFailed(DWORD error);
  // The icon and the clip window go, as the session or the program ends.
  void Unload();
  void Quit();
  void ExitNow();
  std::wstring InFolder(const std::wstring& typed) const;

  Platform platform_;
  settings::OptionBook book_;
  ui::MessageWindow window_;  // before every part that listens at it
  OptionsWindow options_;
  presence::ActivityProbe activity_;
  presence::IdleWatch idle_;
  TrayIcon tray_;
  std::unique_ptr<alerts::ClipView> clipWindow_;
  // In the order the cycle asks them.
  std::vector<std::unique_ptr<watch::MailSource>> sources_;
  std::vector<std::unique_ptr<alerts::AlertEffect>> effects_;
  watch::ToastSource* toasts_ = nullptr;  // the tray menu shows what Windows allows
  alerts::ClipEffect* clip_ = nullptr;    // the user's return stops its loop
  std::unique_ptr<watch::CheckCycle> cycle_;
  UINT restoreMessage_ = 0;
  std::wstring lastMail_;  // the tip's first line, once mail came
  bool paused_ = false;
  ULONGLONG pausedUntil_ = 0;  // on the platform's clock; 0: until resumed
  bool saveFailedShown_ = false;
  bool unloaded_ = false;
};

}  // namespace app
