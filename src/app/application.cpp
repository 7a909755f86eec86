#include "app/application.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "alerts/frm_anim.h"
#include "app/resource_ids.h"
#include "app/single_instance.h"
#include "base/path.h"
#include "presence/presenting.h"
#include "settings/autostart.h"
#include "ui/twips.h"

namespace app {
namespace {

// Windows starts programs from the Run key in the system folder: a relative
// path means the folder that holds postlark.exe, wherever Postlark was
// started from.
std::wstring ExeFolder() {
  const std::wstring exe = settings::ThisExe();
  const size_t slash = exe.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
}

}  // namespace

Platform RealPlatform() {
  Platform p;
  p.store = settings::MakeRegistryStore();
  p.desktop = &watch::RealDesktop();
  p.files = watch::RealFileSystem();
  p.input = &presence::RealInput();
  p.presenting = presence::UserIsPresenting;
  p.notify = watch::NotifyIcon;
  p.machine = alerts::RealMachine();
  p.makeAnimation = [](std::function<std::wstring()> clip, std::function<bool()> animRight) {
    return std::make_unique<alerts::frmAnim>(std::move(clip), std::move(animRight));
  };
  p.folder = ExeFolder();
  p.makeNotifications = watch::MakeWinRtNotificationList;
  p.clock = GetTickCount64;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  p.started = static_cast<std::int64_t>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  return p;
}

Application::Application(Platform platform)
    : platform_(std::move(platform)),
      book_(*platform_.store),
      activity_(*platform_.input),
      presence_(activity_, [this] { return anim_.get(); }),
      marker_(platform_.files, [this] { PostMessageW(main_, kMarkerLookedUp, 0, 0); }),
      notifications_(platform_.makeNotifications, [this] { PostMessageW(main_, kToastsRead, 0, 0); },
                     platform_.clock, platform_.started),
      cycle_({book_.Get().FileDetect, book_.Get().Beep, book_.Get().Eject, book_.Get().Anim,
              book_.Get().FlashDrive},
             *this, *this),
      tray_(platform_.notify),
      form_(book_, *this),
      drives_([this] { PostMessageW(main_, kDrivesDone, 0, 0); }) {
  presence_.Shown = [this](const std::wstring& status, const std::wstring& idle) {
    form_.ShowStatus(status, idle);
  };
}

Application::~Application() { book_.Changed = nullptr; }

bool Application::Start() {
  if (!form_.Create()) return false;
  main_ = form_.hwnd();
  ui::TimerHost& timers = platform_.timers ? *platform_.timers : form_;
  cycle_.HostTimers(timers);
  presence_.HostTimers(timers);
  tray_.HostTimers(timers);
  restoreMessage_ = RegisterWindowMessageW(kRestoreMessageName);

  book_.LoadSettings();
  cycle_.Start();
  presence_.Start();
  // The icon goes in just before the window shows, not just after: painting
  // twenty controls takes longer than anything else at start-up, and the
  // user sees both appear together either way.
  tray_.Add(main_, reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICON)));
  form_.Show();
  anim_ = platform_.makeAnimation(
      [this] { return base::InFolder(base::BarePath(book_.Get().Movie), platform_.folder); },
      [this] { return book_.StoredAnimRight(); });
  anim_->LoadAndShow();
  // The start-up clip plays beyond the right edge, out of sight.
  StartAnimation(static_cast<std::int32_t>(std::lround(ui::ScreenWidthTwips(ui::DpiFor(main_)))));
  anim_->SetTopMost();
  return true;
}

void Application::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  tray_.Delete();
  if (anim_) anim_->Unload();
}

void Application::Command2_Click() {
  // At once, as promised: every option was stored when it changed. The icon
  // goes first, or it would stay in the notification area until the pointer
  // passed over it; the next start must not wait for a process that a hung
  // drive keeps from ending.
  tray_.Delete();
  if (platform_.ending) platform_.ending();
  ExitProcess(0);
}

void Application::Restore() { form_.Restore(); }

void Application::Form_MouseMove(LPARAM lParam) {
  if (IsPointerMove(main_, lParam, GetMessagePos())) return;
  switch (DecodeTrayNotification(GET_X_LPARAM(lParam))) {
    case TrayAction::Restore:
      Restore();
      break;
    case TrayAction::Menu:
      ShowTrayMenu();
      break;
    case TrayAction::None:
      break;
  }
}

void Application::StartWithWindows_Click() {
  // A value for another path (the exe was moved) shows as off; choosing the
  // item then writes it for this exe.
  const std::wstring exe = settings::ThisExe();
  settings::SetStartWithWindows(!settings::StartsWithWindows(exe), exe);
}

void Application::WatchNotifications_Click() {
  // Windows keeps the toasts from programs: its settings page is where the
  // user can change that.
  if (notifications_.State() == watch::ToastState::Denied) {
    ShellExecuteW(main_, nullptr, L"ms-settings:privacy-notifications", nullptr, nullptr, SW_SHOWNORMAL);
    notifications_.AskAgainSoon();
    return;
  }
  book_.Toggle(&settings::Options::WatchNotifications);
}

namespace {

// How the tray menu shows watching the toasts.
struct NotifyItem {
  const wchar_t* text;
  bool enabled;
};

NotifyItem NotifyItemFor(watch::ToastState state) {
  if (state == watch::ToastState::Denied) return {L"Watch mail notifications (off in Windows settings)", true};
  return {L"Watch mail &notifications", state != watch::ToastState::Missing};
}

}  // namespace

void Application::ShowTrayMenu() {
  tray_.Check(IDM_POP_STARTUP, settings::StartsWithWindows(settings::ThisExe()));
  tray_.Check(IDM_POP_QUIET, base::IsTicked(book_.Get().QuietFullScreen));
  const NotifyItem notify = NotifyItemFor(notifications_.State());
  tray_.SetItem(IDM_POP_NOTIFY, notify.text, notify.enabled);
  tray_.Check(IDM_POP_NOTIFY, base::IsTicked(book_.Get().WatchNotifications));
  switch (tray_.ShowMenu()) {
    case IDM_POP_RESTORE:
      Restore();
      break;
    case IDM_POP_STARTUP:
      StartWithWindows_Click();
      break;
    case IDM_POP_QUIET:
      book_.Toggle(&settings::Options::QuietFullScreen);  // saved as the check boxes are
      break;
    case IDM_POP_NOTIFY:
      WatchNotifications_Click();
      break;
    case IDM_POP_TEST:
      cycle_.TestAlert();
      break;
    case IDM_POP_EXIT:
      form_.Close();
      break;
  }
}

bool Application::OnMessage(UINT msg, WPARAM, LPARAM) {
  if (msg == kMarkerLookedUp) {
    if (marker_.Collect()) cycle_.MailFound();
    return true;
  }
  if (msg == kDrivesDone) {
    drives_.Deliver();
    return true;
  }
  if (msg == kToastsRead) {
    if (base::IsTicked(book_.Get().WatchNotifications) && notifications_.Collect(book_.Get().NotifyApps))
      cycle_.MailFound();
    return true;
  }
  if (tray_.OnShellMessage(msg)) return true;
  if (msg == restoreMessage_ && msg != 0) {
    Restore();
    return true;
  }
  return false;
}

bool Application::Quiet() {
  return base::IsTicked(book_.Get().QuietFullScreen) && platform_.presenting();
}

bool Application::CheckOutlookTray() { return Module1::CheckOutlookTray(*platform_.desktop); }

void Application::CheckMarkerFile() {
  // The user may be halfway through typing the path: a partial path that
  // happens to name a file must not get that file deleted.
  if (form_.Editing(&settings::Options::FileDetectName)) return;
  marker_.Look(base::InFolder(base::BarePath(book_.Get().FileDetectName), platform_.folder));
}

void Application::MarkerOff() { marker_.Forget(); }

bool Application::CheckNotifications() {
  return base::IsTicked(book_.Get().WatchNotifications) && notifications_.Check(book_.Get().NotifyApps);
}

void Application::Beep() { platform_.machine->Beep(); }

void Application::OpenCdTray() { Drive(doorPending_, &alerts::Machine::OpenCdTray); }

void Application::FlashFloppyDrive() { Drive(floppyPending_, &alerts::Machine::FlashFloppyDrive); }

// The drives answer in seconds, or not at all: their commands run on the
// drive worker, one at a time, never on the window's thread, and a drive
// that hangs gets no pile of them.
void Application::Drive(bool& pending, void (alerts::Machine::*command)()) {
  if (pending) return;
  pending = true;
  drives_.Post([machine = platform_.machine, command] { (machine.get()->*command)(); },
               [&pending] { pending = false; });
}

bool Application::AnimRight() { return book_.StoredAnimRight(); }

void Application::AlertRaised() { tray_.SetTip(LastMailTip(ShortTimeNow())); }

void Application::StartAnimation(std::int32_t left_pos) {
  if (anim_) alerts::StartAnimation(*anim_, presence_.UserAway(), book_.Get().Loop, left_pos);
}

}  // namespace app
