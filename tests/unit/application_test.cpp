// Postlark as a whole on stand-ins, in simulated time: what each part hands
// the others, and two days of seconds through all of them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/options_layout.h"
#include "app/resource_ids.h"
#include "base/scoped.h"
#include "support/fakes.h"
#include "support/memory.h"
#include "support/pump.h"
#include "ui/controls.h"
#include "ui/twips.h"

namespace {

using testing_support::FakeWindow;

// A marker file system that finds the marker while `present` is set.
class Files final : public watch::MarkerFileSystem {
 public:
  watch::Take TakeMarker(const std::wstring& path, const std::wstring&) override {
    lastPath = path;
    return present.exchange(false) ? watch::Take::Deleted : watch::Take::NotFound;
  }
  std::atomic<bool> present{false};
  std::wstring lastPath;
};

// The tray menu's notifications item and the mail apps under it, read while
// the menu shows; then the menu is closed.
struct ShownItem {
  std::wstring text;
  UINT state = 0;
};
ShownItem gShown;
std::vector<ShownItem> gShownApps;

ShownItem ReadItem(HMENU menu, UINT at, BOOL byPosition) {
  wchar_t text[128] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_STATE;
  info.dwTypeData = text;
  info.cch = 128;
  return GetMenuItemInfoW(menu, at, byPosition, &info) ? ShownItem{text, info.fState} : ShownItem{};
}

void CALLBACK ReadNotifyItem(HWND, UINT, UINT_PTR, DWORD) {
  HWND window = FindWindowW(L"#32768", nullptr);
  if (!window || !IsWindowVisible(window)) return;
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  gShown = ReadItem(menu, IDM_POP_NOTIFY, FALSE);
  for (int at = 0; at < GetMenuItemCount(menu); ++at) {
    if (GetMenuItemID(menu, at) != IDM_POP_NOTIFY) continue;
    const HMENU apps = GetSubMenu(menu, at + 1);
    for (int i = 0; i < GetMenuItemCount(apps); ++i) gShownApps.push_back(ReadItem(apps, i, TRUE));
  }
  EndMenu();
}

class AppTest : public ::testing::Test {
 protected:
  void Start() {
    app::Platform p;
    p.store = std::move(ownStore);
    p.desktop = &desktop;
    p.files = files;
    p.input = &input;
    p.presenting = [] { return false; };
    p.notify = [this](DWORD m, watch::NotifyIconRecord& r) -> BOOL {
      if (m == NIM_ADD && refusals > 0) return --refusals, FALSE;
      if (m == NIM_ADD) icon = r;
      return m != NIM_MODIFY || icon.hWnd != nullptr;
    };
    p.notifyWide = [this](DWORD m, NOTIFYICONDATAW& d) -> BOOL {
      if (m != NIM_MODIFY || !icon.hWnd) return FALSE;
      if (d.uFlags & NIF_TIP) tip = d.szTip;
      if (d.uFlags & NIF_ICON) shownIcon = d.hIcon;
      if (d.uFlags & NIF_INFO) balloons.push_back(d.szInfo);
      return TRUE;
    };
    p.machine = machine;
    p.makeClipWindow = [this] {
      auto window = std::make_unique<testing_support::FakeClipWindow>();
      clip = window.get();
      return window;
    };
    p.folder = L"D:\\Postlark";
    p.timers = &clock;
    p.makeNotifications = [this] { return std::make_unique<testing_support::FakeNotificationList>(toasts); };
    p.clock = [this] { return clock.Now(); };
    postlark = std::make_unique<app::Application>(std::move(p));
    ASSERT_TRUE(postlark->Start());
  }
  HWND Control(int id) const { return GetDlgItem(postlark->OptionsHwnd(), id); }
  // A right click on the icon, as the shell reports it.
  ShownItem NotifyItemShown() {
    gShown = {};
    gShownApps.clear();
    SetCursorPos(5, 1000);  // not where a pointer move would look like the icon's message
    const UINT_PTR reader = SetTimer(nullptr, 0, 100, ReadNotifyItem);
    PostMessageW(postlark->MessageHwnd(), WM_MOUSEMOVE, 1, WM_RBUTTONUP);
    testing_support::PumpUntil([] { return !gShown.text.empty(); }, 3000);
    KillTimer(nullptr, reader);
    return gShown;
  }
  void Seconds(int n) { clock.Advance(n * 1000ULL); }
  // Seconds go by, each with the window's messages (the background's
  // answers) taken, until done() or 30 of them.
  bool Until(const std::function<bool()>& done) {
    for (int s = 0; s < 30; ++s) {
      if (testing_support::PumpUntil(done, 200)) return true;
      Seconds(1);
    }
    return false;
  }

  std::unique_ptr<testing_support::MemoryStore> ownStore = std::make_unique<testing_support::MemoryStore>();
  testing_support::MemoryStore& store = *ownStore;
  testing_support::FakeDesktop desktop{{{"", "rctrl_renwnd32", false}}};
  FakeWindow& outlook = desktop.At(testing_support::FakeDesktop::Handle(0));
  std::shared_ptr<Files> files = std::make_shared<Files>();
  testing_support::ScriptedInput input;
  int refusals = 0;
  watch::NotifyIconRecord icon{};
  std::wstring tip;
  HICON shownIcon = nullptr;
  std::vector<std::wstring> balloons;
  std::shared_ptr<testing_support::FakeMachine> machine = std::make_shared<testing_support::FakeMachine>();
  testing_support::FakeClipWindow* clip = nullptr;
  testing_support::FakeTimers clock;
  testing_support::ToastScript toasts;
  std::unique_ptr<app::Application> postlark;
};

TEST_F(AppTest, StartUpBringsEveryPartUpAndAnEnvelopeGoesThroughThemAll) {
  store[L"Beep"] = L"0";
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"2";
  Start();
  EXPECT_EQ(icon.hWnd, postlark->MessageHwnd()) << "the icon belongs to the message window";
  EXPECT_EQ(SendMessageW(Control(app::kBeepBox), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the window shows the options";
  ASSERT_TRUE(clip && clip->shown);
  ASSERT_EQ(clip->places, std::vector<alerts::ClipPlace>{alerts::ClipPlace::OutOfSight}) << "the start-up clip";
  EXPECT_EQ(clip->plays.Left(), 2);

  Seconds(1);
  EXPECT_EQ(ui::WindowText(Control(app::kStatusLabel)), L"Status: ACTIVE") << "presence shows in the window";
  outlook.envelope = true;
  Seconds(1);
  EXPECT_EQ(desktop.sent.size(), 1u) << "Outlook was told";
  EXPECT_EQ(clip->places.back(), alerts::ClipPlace::TopRight);
  EXPECT_EQ(tip.rfind(L"Last mail ", 0), 0u) << "the tip says when";
  EXPECT_NE(tip.find(L" (envelope)"), std::wstring::npos) << "and from where";

  SendMessageW(Control(app::kBeepBox), BM_CLICK, 0, 0);
  EXPECT_EQ(store[L"Beep"], L"1") << "a click is stored at once";
  SendMessageW(Control(app::kClipRightBox), BM_CLICK, 0, 0);
  store[L"AnimRight"] = L"1";  // a save that failed: the box decides, not the store
  outlook.envelope = true;
  Seconds(15);
  EXPECT_EQ(machine->beeps, 0) << "no check during the alert";
  Seconds(1);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->beeps == 1; }, 5000)) << "the beep the user ticked";
  EXPECT_EQ(clip->places.back(), alerts::ClipPlace::TopLeft);
}

TEST_F(AppTest, AnIconTheShellRefusedIsAddedAgainOnTheApplicationsTimers) {
  refusals = 1;
  Start();
  EXPECT_EQ(icon.hWnd, nullptr);
  Seconds(2);
  EXPECT_EQ(icon.hWnd, postlark->MessageHwnd());
}

TEST_F(AppTest, RelativePathsStartInPostlarksFolderAndAMarkerAlertsWhenItsLookupAnswers) {
  store[L"FileDetect"] = L"1";
  store[L"FileDetectName"] = L"mail\\new.flag";
  store[L"Movie"] = L" \"clips\\mail.avi\"";
  Start();
  EXPECT_EQ(clip->paths.back(), L"D:\\Postlark\\clips\\mail.avi");
  files->present = true;
  Seconds(1);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->beeps == 1; }, 5000));
  EXPECT_EQ(files->lastPath, L"D:\\Postlark\\mail\\new.flag");
  EXPECT_TRUE(desktop.deletes.empty()) << "the envelope is not looked for";
}

TEST_F(AppTest, TheBeepAndTheDrivesAreDrivenOffTheWindowsThreadAndOneThatHangsGetsNoPileOfCommands) {
  store[L"FlashDrive"] = L"1";
  store[L"Eject"] = L"1";
  const base::UniqueHandle drive(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  machine->gate = drive.get();  // the drives hang
  Start();
  outlook.envelope = true;
  Seconds(1);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->driveThread != 0 && machine->beeps == 1; }, 5000));
  EXPECT_NE(machine->driveThread, GetCurrentThreadId());
  EXPECT_NE(machine->beepThread, GetCurrentThreadId());
  Seconds(15);  // flash ticks, then a second alert, while the door hangs
  outlook.envelope = true;
  Seconds(2);
  SetEvent(drive.get());
  ASSERT_TRUE(testing_support::PumpUntil([&] { return machine->ejects == 1 && machine->floppies == 1; }, 5000));
  Seconds(5);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->floppies == 2; }, 5000)) << "no read once it answered";
  EXPECT_EQ(machine->ejects, 1) << "door commands piled up behind a drive that hung";
  EXPECT_EQ(machine->floppies, 2) << "reads piled up behind a drive that hung";
  machine->gate = nullptr;  // the event goes with the test
}

TEST_F(AppTest, TheMenuTipAndIconSayWhenWindowsKeepsTheToastsFromPrograms) {
  toasts.access = watch::ToastAccess::Denied;
  Start();
  ASSERT_TRUE(Until([&] { return tip == L"Not hearing the new Outlook: Windows keeps notifications from programs"; }));
  EXPECT_NE(shownIcon, nullptr) << "no mark on the icon";
  const ShownItem item = NotifyItemShown();
  EXPECT_EQ(item.text, L"Watch mail notifications (off in Windows settings)");
  EXPECT_EQ(item.state & (MFS_GRAYED | MFS_CHECKED), static_cast<UINT>(MFS_CHECKED)) << "it opens the settings page";
  EXPECT_EQ(toasts.reads, 0);
}

// A locked-down profile: Postlark goes on with what the user chose and says
// once that it could not save it.
TEST_F(AppTest, ASaveThatFailsIsSaidOnceAndTheChoiceHolds) {
  Start();
  store.refusal = ERROR_ACCESS_DENIED;
  SendMessageW(Control(app::kEjectBox), BM_CLICK, 0, 0);
  SendMessageW(Control(app::kBeepBox), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(Control(app::kEjectBox), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_EQ(balloons.size(), 1u) << "said at every click, or never";
  EXPECT_NE(balloons[0].find(L"could not save its options"), std::wstring::npos);
  outlook.envelope = true;
  Seconds(1);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->ejects == 1; }, 5000)) << "the choice did not hold";
}

// While the marker box is being edited, the path saved last is watched; a
// half-typed one never is. Closed as Windows closes programs, Postlark saves
// the path in the box and goes.
TEST_F(AppTest, TheSavedMarkerPathIsWatchedWhileTheBoxIsEditedAndAnUpdateClosesPostlarkSaving) {
  store[L"FileDetect"] = L"1";
  store[L"FileDetectName"] = L"C:\\mail\\new.flag";
  Start();
  HWND box = Control(app::kMarkerPathBox);
  SetForegroundWindow(postlark->OptionsHwnd());
  SetFocus(box);
  ASSERT_EQ(GetFocus(), box);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\mail\\n"));
  files->present = true;
  Seconds(1);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return machine->beeps == 1; }, 5000)) << "no watch while editing";
  EXPECT_EQ(files->lastPath, L"C:\\mail\\new.flag");
  SendMessageW(postlark->MessageHwnd(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
  EXPECT_FALSE(IsWindow(postlark->OptionsHwnd()));
  EXPECT_EQ(store[L"FileDetectName"], L"C:\\mail\\n") << "the path in the box was not saved";
}

// The mail apps under the menu's item: the new Outlook always, each app seen
// since the start by its name, each the user listed; ticked when its toasts
// are mail.
TEST_F(AppTest, TheMenuListsTheMailAppsByNameTickedWhenTheyCountAsMail) {
  store[L"NotifyApps"] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe; Fabrikam.Post_x";
  toasts.SetToasts({{3, 1, L"Contoso.Chat_abc!App", L"Contoso Chat"}});
  Start();
  // A second read starts only once the first has been taken.
  ASSERT_TRUE(Until([&] { return toasts.reads >= 2; }));
  NotifyItemShown();
  ASSERT_EQ(gShownApps.size(), 3u);
  EXPECT_EQ(gShownApps[0].text, L"Outlook (new)");
  EXPECT_TRUE(gShownApps[0].state & MFS_CHECKED);
  EXPECT_EQ(gShownApps[1].text, L"Contoso Chat");
  EXPECT_FALSE(gShownApps[1].state & MFS_CHECKED);
  EXPECT_EQ(gShownApps[2].text, L"Fabrikam.Post_x");
  EXPECT_TRUE(gShownApps[2].state & MFS_CHECKED);
}

TEST_F(AppTest, TheToastListIsNotLoadedWhileTheOptionIsOff) {
  store[L"WatchNotifications"] = L"0";
  Start();
  Seconds(5);
  EXPECT_EQ(toasts.opens, 0);
}

TEST_F(AppTest, WithoutTheToastListTheMenusItemIsGreyed) {
  toasts.open = REGDB_E_CLASSNOTREG;
  Start();
  ASSERT_TRUE(Until([&] { return tip.find(L"the notification service is missing") != std::wstring::npos; }));
  const ShownItem item = NotifyItemShown();
  EXPECT_EQ(item.text, L"Watch mail &notifications");
  EXPECT_TRUE(item.state & MFS_GRAYED);
}

// Two days of seconds: mail every few minutes, the user away for 40 minutes
// of every hour, clips that loop while they are away, an option clicked
// every hour. Every envelope alerts once, everything ends where it should,
// and memory does not grow.
TEST_F(AppTest, TwoDaysOfSeconds) {
  constexpr long kSeconds = 2 * 24 * 3600;
  constexpr long kMailEvery = 173;  // never in step with the 15-tick alert
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"2";
  Start();
  size_t clips = clip->places.size();
  int playing = 0;  // seconds into the current play; 0: none
  int hiding = 0;   // ticks of the hide under way; 0: none
  long loopsWhileAway = 0;
  const auto second = [&] {
    clock.Advance(1000);
    if (clip->places.size() != clips) {  // a clip started: 3 s a play
      clips = clip->places.size();
      playing = 1;
      loopsWhileAway += clip->plays.Left() == alerts::kAwayPlays;
    } else if (playing && ++playing > 3) {
      playing = 1;
      if (clip->plays.EndOfPlay()) hiding = 1;
    }
    if (clip->cancels) clip->cancels = 0, hiding = 1;
    if (hiding && clip->plays.Tick()) hiding = playing = 0;  // parked and stopped
  };
  long mails = 0;
  SIZE_T afterDay1 = 0;
  for (long s = 1; s <= kSeconds; ++s) {
    const bool away = (s / 60) % 60 >= 20;
    if (!away) input.pos.x = (input.pos.x + 1) % 1000;
    if (s % kMailEvery == 0) {
      outlook.envelope = true;
      ++mails;
    }
    if (s % 3600 == 0) {
      SendMessageW(Control(app::kEjectBox), BM_CLICK, 0, 0);
      SendMessageW(Control(app::kEjectBox), BM_CLICK, 0, 0);
      // The stand-ins' own records are the test's memory, not Postlark's.
      desktop.deletes.clear();
      store.reads.clear();
      store.writes.clear();
      clip->paths.clear();
      clip->places.clear();
      clips = 0;
    }
    second();
    // The beep runs in the background: one at a time, as a user's seconds are.
    if (s % kMailEvery == 1) testing_support::PumpUntil([&] { return machine->beeps == mails; }, 5000);
    if (s == 86400) afterDay1 = testing_support::HeapBytesInUse();
  }
  const SIZE_T atEnd = testing_support::HeapBytesInUse();
  // The user comes back for good: the last clip goes.
  for (int s = 0; s < 20; ++s) {
    input.pos.y += 1;
    second();
  }

  EXPECT_EQ(desktop.sent.size(), static_cast<size_t>(mails)) << "every envelope taken once";
  EXPECT_EQ(machine->beeps, mails) << "and alerted once";
  EXPECT_GT(loopsWhileAway, 0);
  EXPECT_EQ(playing, 0) << "the last clip was parked";
  EXPECT_EQ(store[L"Eject"], L"0");
  ASSERT_GT(afterDay1, 0u);
  EXPECT_LT(atEnd > afterDay1 ? atEnd - afterDay1 : 0, 256u * 1024) << "heap bytes in use grew over a day";
}

}  // namespace
