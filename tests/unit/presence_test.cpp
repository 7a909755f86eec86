// Idle detection over scripted pointer positions and key states, and the
// rule for a user who presents.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <shellapi.h>

#include "presence/idle_watch.h"
#include "presence/presenting.h"
#include "support/fakes.h"

namespace {

using namespace presence;
using testing_support::ScriptedInput;

TEST(UserIsActive, PointerMovesOnEitherAxisAndKeysCount) {
  ScriptedInput in;
  ActivityProbe probe(in);
  EXPECT_FALSE(probe.UserIsActive()) << "pointer at (0, 0), where it starts";
  in.pos = {0, 5};
  EXPECT_TRUE(probe.UserIsActive());
  EXPECT_EQ(in.queries, 256) << "every key at the first look, and none once the pointer moved";
  EXPECT_FALSE(probe.UserIsActive());
  in.keys = {VK_LBUTTON};
  EXPECT_TRUE(probe.UserIsActive());
  in.keys = {255};
  in.keyBits = 0x0001;  // pressed since the last look
  EXPECT_TRUE(probe.UserIsActive());
  in.keys = {};
  in.readable = false;
  EXPECT_FALSE(probe.UserIsActive()) << "an unreadable pointer has not moved";
}

class IdleWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    watch.HostTimers(clock);
    watch.Ticked = [this](const StatusLine& line) { shown = line; };
    watch.Returned = [this] { ++returns; };
  }
  void Tick(bool active) {
    if (active) in.pos.x += 1;
    clock.Advance(1000);
  }
  ScriptedInput in;
  ActivityProbe probe{in};
  testing_support::FakeTimers clock;
  IdleWatch watch{probe};
  StatusLine shown;
  int returns = 0;
};

TEST_F(IdleWatchTest, TheStatusBlinksEveryTickAndTheIdleSpellCountsFromZeroToAway) {
  Tick(true);
  EXPECT_EQ(shown.status, L"Status: ACTIVE");
  EXPECT_EQ(shown.idle, L"");
  Tick(false);
  EXPECT_EQ(shown.status, L"Status:");
  EXPECT_EQ(shown.idle, L"Idle (0)");
  for (int i = 0; i < 10; ++i) Tick(false);
  EXPECT_EQ(shown.idle, L"Idle (10)");
  EXPECT_FALSE(watch.UserAway()) << "10 is not above the threshold";
  Tick(false);
  EXPECT_EQ(shown.idle, L"Idle (11)");
  EXPECT_TRUE(watch.UserAway());
}

TEST_F(IdleWatchTest, TheUserComesBackOnceAfterEachIdleSpell) {
  Tick(false);
  Tick(true);
  EXPECT_EQ(returns, 1);
  EXPECT_FALSE(watch.UserAway());
  EXPECT_EQ(shown.idle, L"");
  Tick(true);
  EXPECT_EQ(returns, 1) << "activity alone is no return";
}

TEST(Presenting, TheShellsWordThenAWindowWithoutATitleBarCoveringItsMonitor) {
  const RECT monitor{0, 0, 1920, 1080};
  const auto front = [&](const wchar_t* cls, const wchar_t* title, bool caption, RECT rect) {
    return FrontWindow{cls, title, false, caption, rect, monitor};
  };
  const FrontWindow slideshow = front(L"screenClass", L"", false, monitor);
  struct Case {
    const char* what;
    int shell;
    FrontWindow window;
    bool presenting;
  };
  const Case cases[] = {
      {"the shell says busy", QUNS_BUSY, front(L"Notepad", L"", true, {0, 0, 10, 10}), true},
      {"a full-screen Direct3D program", QUNS_RUNNING_D3D_FULL_SCREEN, front(L"x", L"", true, {}), true},
      {"presentation mode", QUNS_PRESENTATION_MODE, front(L"x", L"", true, {}), true},
      {"the shell says the user is away", QUNS_NOT_PRESENT, slideshow, false},
      {"a slideshow", QUNS_ACCEPTS_NOTIFICATIONS, slideshow, true},
      {"a little beyond the monitor", 0, front(L"x", L"", false, {-8, -8, 1928, 1088}), true},
      {"maximized with a title bar", 0, front(L"x", L"", true, {-8, -8, 1928, 1088}), false},
      {"leaving the taskbar free", 0, front(L"x", L"", false, {0, 0, 1920, 1040}), false},
      {"the desktop's WorkerW", 0, front(L"WorkerW", L"", false, monitor), false},
      {"the desktop's Progman", 0, front(L"Progman", L"Program Manager", false, monitor), false},
      {"the screen saver", 0, front(L"WindowsScreenSaverClass", L"", false, monitor), false},
      {"the lock screen", 0, front(L"LockScreenBackstopFrame", L"", false, monitor), false},
      {"the lock screen app", 0, front(L"Windows.UI.Core.CoreWindow", L"Windows Default Lock Screen", false, monitor), false},
      {"a store app in full screen", 0, front(L"Windows.UI.Core.CoreWindow", L"Photos", false, monitor), true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPresenting(c.shell, &c.window), c.presenting) << c.what;
  FrontWindow desktop = slideshow;
  desktop.desktop = true;
  EXPECT_FALSE(IsPresenting(0, &desktop)) << "the desktop window itself";
  EXPECT_FALSE(IsPresenting(0, nullptr)) << "no window in front";
}

}  // namespace
