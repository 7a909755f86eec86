// The tray menu's own items, driven from outside against the real
// postlark.exe: start with Windows, quiet while presenting, test alert.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "app/options_layout.h"
#include "base/scoped.h"
#include "settings/autostart.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"

using namespace testing_support;

namespace {

std::optional<std::wstring> RunValue() {
  wchar_t value[1024];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, settings::kRunKey, settings::kRunValue, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(value);
}

class MenuE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    settings::SetStartWithWindows(false, L"");
    SetCursorPos(5, 1000);
  }
  void TearDown() override {
    settings::SetStartWithWindows(false, L"");
    ScreenshotOnFailure::TearDown();
  }
  static bool RunValueBecomes(const std::optional<std::wstring>& value) {
    return PumpUntil([&] { return RunValue() == value; }, 3000);
  }
};

TEST_F(MenuE2E, StartWithWindowsWritesRemovesAndRewritesTheRunValueForThisExe) {
  {
    PostlarkProcess postlark;
    ASSERT_TRUE(postlark.Started());
    EXPECT_FALSE(RunValue()) << "Postlark added itself";
    ASSERT_TRUE(postlark.Choose('W'));
    EXPECT_TRUE(RunValueBecomes(L"\"" + PostlarkExe() + L"\""));
    ASSERT_TRUE(postlark.Choose('W'));
    EXPECT_TRUE(RunValueBecomes(std::nullopt));
  }
  // Moved: the value names the old place, which counts as off, and choosing
  // the item writes the new one.
  const ExeCopy moved(TestFolder(L"moved") + L"\\postlark.exe");
  ASSERT_TRUE(moved.made);
  settings::SetStartWithWindows(true, PostlarkExe());
  PostlarkProcess postlark(moved.path);
  ASSERT_TRUE(postlark.Started());
  ASSERT_TRUE(postlark.Choose('W'));
  EXPECT_TRUE(RunValueBecomes(L"\"" + moved.path + L"\""));
  // Written by hand in other letters, it names this exe all the same: on.
  settings::SetStartWithWindows(true, CharUpperW(std::wstring(moved.path).data()));
  ASSERT_TRUE(postlark.Choose('W'));
  EXPECT_TRUE(RunValueBecomes(std::nullopt)) << "the path was matched letter by letter";
  // And the menu's Exit ends it, taking the icon along.
  HWND tray = postlark.Tray();
  ASSERT_TRUE(postlark.Choose('E'));
  EXPECT_TRUE(postlark.WaitExit(10000));
  EXPECT_FALSE(IconExists(tray, 1));
}

// A window without a title bar over the whole screen, in front: a slideshow,
// or a screen saver.
class FullScreenWindow {
 public:
  explicit FullScreenWindow(const wchar_t* cls = L"STATIC")
      : hwnd_(CreateWindowExW(WS_EX_TOPMOST, cls, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              nullptr, nullptr)) {
    SetForegroundWindow(hwnd_);
  }
  ~FullScreenWindow() { Close(); }
  bool InFront() const { return GetForegroundWindow() == hwnd_; }
  void Close() {
    if (hwnd_) DestroyWindow(std::exchange(hwnd_, nullptr));
  }

 private:
  HWND hwnd_;
};

TEST_F(MenuE2E, QuietWhilePresentingKeepsTheEnvelopeUntilFullScreenEndsAndTheChoiceSurvivesARestart) {
  {
    PostlarkProcess postlark;
    ASSERT_TRUE(postlark.Started());
    StandInOutlook outlook;
    FullScreenWindow slideshow;
    ASSERT_TRUE(slideshow.InFront());
    ASSERT_TRUE(outlook.AddEnvelope());
    PumpFor(4000);
    EXPECT_TRUE(outlook.HasEnvelope()) << "taken while the user presented";
    EXPECT_EQ(outlook.NewMailMessages(), 0);
    slideshow.Close();
    EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs)) << "not taken once full screen ended";

    // Off, and kept off: a slideshow no longer holds the envelope back.
    ASSERT_TRUE(postlark.Choose('Q'));
    EXPECT_TRUE(PumpUntil([] { return GetOption(L"QuietFullScreen") == L"0"; }, 3000));
  }
  PostlarkProcess again;
  ASSERT_TRUE(again.Started());
  StandInOutlook outlook;
  FullScreenWindow slideshow;
  ASSERT_TRUE(slideshow.InFront());
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs)) << "quiet though switched off";
}

// A screen saver covers the screen without a title bar, but the user is
// away: no reason for quiet.
TEST_F(MenuE2E, AScreenSaverInFrontIsNoPresentation) {
  SetOption(L"Eject", L"1");  // the alert shows in the program's trace
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  WNDCLASSW saver{};
  saver.lpfnWndProc = DefWindowProcW;
  saver.lpszClassName = L"WindowsScreenSaverClass";
  RegisterClassW(&saver);
  StandInOutlook outlook;
  FullScreenWindow screenSaver(saver.lpszClassName);
  ASSERT_TRUE(screenSaver.InFront());
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs)) << "quiet while the user was away";
  EXPECT_TRUE(PumpUntil([&] { return postlark.Traced("door open") == 1; }, 3000)) << "no alert";
}

// Paused, Postlark leaves the envelope where it is and raises no alert but
// the user's test alert; resumed, the mail of the pause alerts once.
TEST_F(MenuE2E, APauseHoldsTheMailUntilResumedAndATestAlertStillRaisesTheAlerts) {
  SetOption(L"Eject", L"1");  // the alert shows in the program's trace
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  const auto opens = [&] { return postlark.Traced("door open"); };
  ASSERT_TRUE(postlark.Choose({'P', VK_RETURN}));  // for 30 minutes
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  PumpFor(3000);
  EXPECT_TRUE(outlook.HasEnvelope()) << "taken while paused";
  ASSERT_TRUE(postlark.Choose('T'));
  EXPECT_TRUE(PumpUntil([&] { return opens() == 1; }, 3000)) << "no test alert";
  ASSERT_TRUE(postlark.Choose({'P', 'R'}));
  // Taken once the test alert's fifteen ticks are over.
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, 15000 + kCheckDeadlineMs)) << "not taken once resumed";
  EXPECT_TRUE(PumpUntil([&] { return opens() == 2; }, 3000));
  PumpFor(2000);
  EXPECT_EQ(opens(), 2) << "alerted more than once";
}

}  // namespace
