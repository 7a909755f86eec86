#pragma once
// Postlark as a whole: the one object that owns every part (the options and
// their store, the check cycle and its mail sources, the alert effects,
// presence, the tray icon, the animation window and the options window) and
// wires them together. What it runs on comes in a Platform: the machine's
// own, or a test's stand-ins.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "alerts/animation.h"
#include "alerts/drives.h"
#include "app/form1.h"
#include "app/tray.h"
#include "base/worker.h"
#include "presence/presence.h"
#include "settings/options.h"
#include "settings/settings_store.h"
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
  // Shared with the drive worker, which a hung drive may keep past the end.
  std::shared_ptr<alerts::Machine> machine;
  // The animation window, showing the clip at the path `clip` gives.
  std::function<std::unique_ptr<alerts::AnimationWindow>(std::function<std::wstring()> clip,
                                                          std::function<bool()> animRight)>
      makeAnimation;
  // Where relative paths, the marker's and the clip's, start.
  std::wstring folder;
  // Who gives the timers their ticks; null: the main window.
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

// Posted to the main window by the workers: the marker check's, the drives'.
inline constexpr UINT kMarkerLookedUp = WM_APP + 1;
inline constexpr UINT kDrivesDone = WM_APP + 2;
inline constexpr UINT kToastsRead = WM_APP + 3;

class Application final : private watch::MailSources, private watch::AlertEffects, private Form1Events {
 public:
  explicit Application(Platform platform);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up, up to the first tick; false when the window cannot be made.
  bool Start();
  HWND MainWindow() const { return form_.hwnd(); }

 private:
  void StartAnimation(std::int32_t left_pos) override;
  void Restore();
  void ShowTrayMenu();
  void StartWithWindows_Click();
  void WatchNotifications_Click();
  void Drive(bool& pending, void (alerts::Machine::*command)());

  // Form1Events
  void Form_Unload() override;
  void Command2_Click() override;
  void Form_MouseMove(LPARAM lParam) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // MailSources
  bool Quiet() override;
  bool CheckOutlookTray() override;
  void CheckMarkerFile() override;
  void MarkerOff() override;
  bool CheckNotifications() override;
  // AlertEffects
  void Beep() override;
  void OpenCdTray() override;
  void FlashFloppyDrive() override;
  bool AnimRight() override;
  void AlertRaised() override;

  Platform platform_;
  settings::OptionBook book_;
  presence::ActivityProbe activity_;
  presence::PresenceWatch presence_;
  watch::MarkerCheck marker_;
  watch::NotificationSource notifications_;
  watch::CheckCycle cycle_;
  TrayIcon tray_;
  std::unique_ptr<alerts::AnimationWindow> anim_;
  Form1 form_;
  HWND main_ = nullptr;  // for the workers' posts: set once, before any
  base::Worker drives_;
  bool doorPending_ = false, floppyPending_ = false;
  UINT restoreMessage_ = 0;
  bool unloaded_ = false;
};

}  // namespace app
