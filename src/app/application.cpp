#include "app/application.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "alerts/clip_window.h"
#include "app/resource_ids.h"
#include "app/single_instance.h"
#include "app/tray_text.h"
#include "base/path.h"
#include "presence/presenting.h"
#include "settings/autostart.h"

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

template <class Part, class List, class... Args>
Part* Add(List& list, Args&&... args) {
  auto part = std::make_unique<Part>(std::forward<Args>(args)...);
  Part* added = part.get();
  list.push_back(std::move(part));
  return added;
}

template <class T>
std::vector<T*> Pointers(const std::vector<std::unique_ptr<T>>& list) {
  std::vector<T*> pointers;
  for (const auto& item : list) pointers.push_back(item.get());
  return pointers;
}

// How the tray menu shows watching the toasts.
struct NotifyItem {
  const wchar_t* text;
  bool enabled;
};

NotifyItem NotifyItemFor(watch::Deafness deaf) {
  if (deaf == watch::Deafness::Refused) return {L"Watch mail notifications (off in Windows settings)", true};
  return {L"Watch mail &notifications", deaf != watch::Deafness::Missing};
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
  p.makeClipWindow = [] { return std::make_unique<alerts::ClipWindow>(); };
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
      window_(kMessageWindowClass),
      options_(book_),
      activity_(*platform_.input),
      idle_(activity_),
      tray_(platform_.notify, platform_.notifyWide),
      clipWindow_(platform_.makeClipWindow()) {
  const settings::Options& o = book_.Get();
  // The mail sources: a new one is one line here.
  Add<watch::EnvelopeSource>(sources_, *platform_.desktop, [&o] { return !o.marker; });
  Add<watch::MarkerSource>(
      sources_, platform_.files, window_, [&o] { return o.marker; },
      [this, &o] {
        // The user may be halfway through typing the path: a partial path
        // that happens to name a file must not get that file deleted. The
        // path saved last is watched meanwhile.
        constexpr settings::Text kPath = &settings::Options::markerPath;
        return InFolder(options_.Editing(kPath) ? book_.Stored(kPath) : o.markerPath);
      },
      platform_.clock);
  toasts_ = Add<watch::ToastSource>(sources_, platform_.makeNotifications, window_,
                                    [&o] { return o.watchNotifications; }, [&o] { return o.notifyApps; },
                                    platform_.clock, platform_.started);
  // The alert effects, in the order they are raised: a new one is one line here.
  const auto& machine = platform_.machine;
  Add<alerts::MachineEffect>(effects_, o.beep, machine, &alerts::Machine::Beep);
  Add<alerts::MachineEffect>(effects_, o.eject, machine, &alerts::Machine::OpenCdTray);
  clip_ = Add<alerts::ClipEffect>(effects_, *clipWindow_, alerts::ClipOptions{o.clip, o.clipTopRight, o.plays},
                                  [this, &o] { return InFolder(o.clipPath); }, [this] { return idle_.UserAway(); });
  // Last, so a slow floppy holds up none of the others.
  Add<alerts::MachineEffect>(effects_, o.flashDrive, machine, &alerts::Machine::FlashFloppyDrive, true);

  cycle_ = std::make_unique<watch::CheckCycle>(Pointers(sources_), Pointers(effects_), [this, &o] {
    return Paused() || (o.quietWhilePresenting && platform_.presenting());
  });
  cycle_->Alerted = [this](const watch::MailSource* from) {
    if (from) lastMail_ = LastMailLine(ShortTime(), from->MailFrom());
    ShowState();
  };
  idle_.Returned = [this] { clip_->UserReturned(); };
  idle_.Ticked = [this](const presence::StatusLine& line) {
    options_.ShowStatus(line.status, line.idle);
    ShowState();
  };
  book_.SaveFailed = [this](DWORD error) { SaveFailed(error); };
  options_.Closed = [this] { Quit(); };
  options_.ExitNow = [this] { ExitNow(); };
  window_.OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam) { return OnMessage(msg, wParam, lParam); };
}

Application::~Application() {
  // The windows go after the parts their handlers would reach.
  options_.Closed = nullptr;
  window_.OnMessage = nullptr;
}

bool Application::Start() {
  if (!window_.hwnd() || !options_.Create()) return false;
  ui::TimerHost& timers = platform_.timers ? *platform_.timers : window_;
  cycle_->HostTimers(timers);
  idle_.HostTimers(timers);
  tray_.HostTimers(timers);
  restoreMessage_ = RegisterWindowMessageW(kRestoreMessageName);

  book_.LoadSettings();
  cycle_->Start();
  // The icon goes in just before the window shows, not just after: painting
  // twenty controls takes longer than anything else at start-up, and the
  // user sees both appear together either way.
  tray_.Add(window_.hwnd(), reinterpret_cast<HICON>(GetClassLongPtrW(options_.hwnd(), GCLP_HICON)));
  options_.Show();
  const settings::Options& o = book_.Get();
  clipWindow_->Show(o.clipTopRight);
  // The start-up clip plays out of sight, as many times as at an alert.
  clipWindow_->Play(InFolder(o.clipPath), alerts::ClipPlace::OutOfSight, o.plays);
  return true;
}

std::wstring Application::InFolder(const std::wstring& typed) const {
  return base::InFolder(base::BarePath(typed), platform_.folder);
}

bool Application::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kTrayCallbackMessage) {
    OnTrayIcon(lParam);
    return true;
  }
  if (msg == restoreMessage_ && msg != 0) {
    options_.Restore();
    return true;
  }
  if (msg == WM_ENDSESSION) {
    // Closed as Windows closes programs (an installer, an update): saved,
    // and gone. At a logoff the session takes the process along.
    if (wParam && (lParam & ENDSESSION_CLOSEAPP)) options_.Close();
    else if (wParam) Unload();
    return true;
  }
  return tray_.OnShellMessage(msg);
}

void Application::OnTrayIcon(LPARAM lParam) {
  switch (DecodeTrayNotification(LOWORD(lParam))) {
    case TrayAction::Restore:
      options_.Restore();
      break;
    case TrayAction::Menu:
      ShowTrayMenu();
      break;
    case TrayAction::None:
      break;
  }
}

void Application::ShowTrayMenu() {
  const settings::Options& o = book_.Get();
  tray_.Check(IDM_POP_STARTUP, settings::StartsWithWindows(settings::ThisExe()));
  tray_.Check(IDM_POP_QUIET, o.quietWhilePresenting);
  const NotifyItem notify = NotifyItemFor(toasts_->State().deaf);
  tray_.SetItem(IDM_POP_NOTIFY, notify.text, notify.enabled);
  tray_.Check(IDM_POP_NOTIFY, o.watchNotifications);
  const std::vector<AppChoice> apps = AppChoices();
  std::vector<TrayIcon::Entry> appItems;
  for (size_t i = 0; i < apps.size(); ++i)
    appItems.push_back({static_cast<UINT>(IDM_POP_APP_FIRST + i), apps[i].name, apps[i].mail});
  tray_.SetSubmenu(IDM_POP_NOTIFY, 1, appItems);
  std::vector<TrayIcon::Entry> pauseItems = {
      {IDM_POP_PAUSE_30, L"For 30 minutes", false},
      {IDM_POP_PAUSE_60, L"For 1 hour", false},
      {IDM_POP_PAUSE_ON, L"Until I resume", false},
  };
  if (Paused()) pauseItems.push_back({IDM_POP_RESUME, L"&Resume", false});
  tray_.SetSubmenu(IDM_POP_NOTIFY, 2, pauseItems);
  const UINT chosen = tray_.ShowMenu();
  if (chosen >= IDM_POP_APP_FIRST && chosen < IDM_POP_APP_FIRST + apps.size()) {
    // Counted as mail, or not, from the next read on.
    const AppChoice& app = apps[chosen - IDM_POP_APP_FIRST];
    book_.Set(&settings::Options::notifyApps, watch::WithApp(o.notifyApps, app.id, !app.mail));
    return;
  }
  switch (chosen) {
    case IDM_POP_PAUSE_30:
      Pause(30 * 60 * 1000);
      break;
    case IDM_POP_PAUSE_60:
      Pause(60 * 60 * 1000);
      break;
    case IDM_POP_PAUSE_ON:
      Pause(0);
      break;
    case IDM_POP_RESUME:
      paused_ = false;
      ShowState();
      break;
    case IDM_POP_RESTORE:
      options_.Restore();
      break;
    case IDM_POP_STARTUP:
      ToggleStartWithWindows();
      break;
    case IDM_POP_QUIET:
      book_.Toggle(&settings::Options::quietWhilePresenting);  // saved as the check boxes are
      break;
    case IDM_POP_NOTIFY:
      WatchNotificationsChosen();
      break;
    case IDM_POP_TEST:
      cycle_->TestAlert();
      break;
    case IDM_POP_EXIT:
      options_.Close();
      break;
  }
}

void Application::ToggleStartWithWindows() {
  // A value for another path (the exe was moved) shows as off; choosing the
  // item then writes it for this exe.
  const std::wstring exe = settings::ThisExe();
  if (const DWORD error = settings::SetStartWithWindows(!settings::StartsWithWindows(exe), exe)) SaveFailed(error);
}

void Application::WatchNotificationsChosen() {
  // Windows keeps the toasts from programs: its settings page is where the
  // user can change that.
  if (toasts_->State().deaf == watch::Deafness::Refused) {
    ShellExecuteW(options_.hwnd(), nullptr, L"ms-settings:privacy-notifications", nullptr, nullptr, SW_SHOWNORMAL);
    toasts_->AskAgainSoon();
    return;
  }
  book_.Toggle(&settings::Options::watchNotifications);
}

void Application::ShowState() {
  std::wstring notHearing;
  for (const auto& source : sources_) {
    const watch::SourceState state = source->State();
    if (!state.on || state.Hearing()) continue;
    const long long since = static_cast<long long>(state.since) - static_cast<long long>(platform_.clock());
    notHearing = NotHearingLine(source->Name(), state, ShortTime(since));
    break;
  }
  const bool paused = Paused();
  const std::wstring pausedLine =
      !paused ? L""
              : PausedLine(pausedUntil_ ? ShortTime(static_cast<long long>(pausedUntil_ - platform_.clock())) : L"");
  tray_.SetTip(TrayTip({lastMail_, pausedLine, notHearing}));
  tray_.SetMarked(paused || !notHearing.empty());
}

void Application::Pause(ULONGLONG ms) {
  paused_ = true;
  pausedUntil_ = ms ? platform_.clock() + ms : 0;
  ShowState();
}

bool Application::Paused() {
  if (paused_ && pausedUntil_ && platform_.clock() >= pausedUntil_) paused_ = false;
  return paused_;
}

std::vector<Application::AppChoice> Application::AppChoices() const {
  const std::wstring kNewOutlook = watch::kNewOutlookApp;
  const std::wstring& apps = book_.Get().notifyApps;
  const watch::MailApps mail(apps);
  std::vector<AppChoice> choices{{kNewOutlook, L"Outlook (new)", mail.Match(kNewOutlook)}};
  // A family name stands for every app of its package.
  const auto same = [](const std::wstring& a, const std::wstring& b) {
    return watch::NamesApp(a, b) || watch::NamesApp(b, a);
  };
  const auto listed = [&](const std::wstring& id) {
    return std::any_of(choices.begin(), choices.end(), [&](const AppChoice& c) { return same(id, c.id); });
  };
  for (const watch::ToastSource::App& app : toasts_->Apps()) {
    if (same(app.id, kNewOutlook)) {
      choices[0].name = app.name;
    } else if (!listed(app.id)) {
      choices.push_back({app.id, app.name, mail.Match(app.id)});
    }
  }
  for (const std::wstring& entry : watch::AppEntries(apps))
    if (!listed(entry)) choices.push_back({entry, entry, true});
  if (choices.size() > IDM_POP_APP_LAST - IDM_POP_APP_FIRST + 1) choices.resize(IDM_POP_APP_LAST - IDM_POP_APP_FIRST + 1);
  return choices;
}

void Application::SaveFailed(DWORD error) {
  if (std::exchange(saveFailedShown_, true)) return;
  tray_.ShowBalloon(SaveFailedText(error));
}

void Application::Unload() {
  if (std::exchange(unloaded_, true)) return;
  tray_.Delete();
  clipWindow_->Close();
}

void Application::Quit() {
  Unload();
  PostQuitMessage(0);
}

void Application::ExitNow() {
  // At once, as promised: every option was stored when it changed. The icon
  // goes first, or it would stay in the notification area until the pointer
  // passed over it; the next start must not wait for a process that a hung
  // drive keeps from ending.
  tray_.Delete();
  if (platform_.ending) platform_.ending();
  ExitProcess(0);
}

}  // namespace app
