// Idle detection over scripted pointer positions and key states.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <shellapi.h>

#include "presence/presence.h"
#include "presence/presenting.h"
#include "support/fakes.h"

namespace {

using namespace presence;
using testing_support::FakeAnimationWindow;
using testing_support::ScriptedInput;

TEST(UserIsActive, PointerMovesOnEitherAxisAndKeysCount) {
  ScriptedInput in;
  ActivityProbe probe(in);
  EXPECT_EQ(probe.UserIsActive(), base::kFalse) << "pointer at (0, 0), where it starts";
  in.pos = {0, 5};
  EXPECT_EQ(probe.UserIsActive(), base::kTrue);
  EXPECT_EQ(in.queries, 256) << "the first call scanned every key";
  EXPECT_EQ(probe.UserIsActive(), base::kFalse);
  in.keys = {VK_LBUTTON};
  EXPECT_EQ(probe.UserIsActive(), base::kTrue);
  in.keys = {255};
  in.keyBits = 0x0001;  // pressed since the last look
  EXPECT_EQ(probe.UserIsActive(), base::kTrue);
  in.keys = {};
  in.readable = false;
  EXPECT_EQ(probe.UserIsActive(), base::kFalse) << "an unreadable pointer has not moved";
}

class PresenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    watch.HostTimers(clock);
    watch.Shown = [this](const std::wstring& s, const std::wstring& i) {
      status = s;
      idle = i;
    };
  }
  void Tick(bool active) {
    if (active) in.pos.x += 1;
    clock.Advance(1000);
  }
  ScriptedInput in;
  ActivityProbe probe{in};
  FakeAnimationWindow anim;
  testing_support::FakeTimers clock;
  PresenceWatch watch{probe, [this]() -> alerts::AnimationWindow* { return &anim; }};
  std::wstring status, idle;
};

TEST_F(PresenceTest, StatusBlinksEveryTickWhateverTheUserDoes) {
  const wchar_t* expected[] = {L"Status: ACTIVE", L"Status:", L"Status: ACTIVE", L"Status:"};
  for (int i = 0; i < 4; ++i) {
    Tick(i % 2 == 0);
    EXPECT_EQ(status, expected[i]);
  }
}

TEST_F(PresenceTest, IdleSpellCountsFromZeroAndTheUserIsAwayAfterTwelveIdleTicks) {
  Tick(true);
  EXPECT_EQ(idle, L"");
  Tick(false);
  EXPECT_EQ(idle, L"Idle (0)");
  for (int i = 0; i < 10; ++i) Tick(false);
  EXPECT_EQ(idle, L"Idle (10)");
  EXPECT_FALSE(watch.UserAway()) << "10 is not above the threshold";
  Tick(false);
  EXPECT_EQ(idle, L"Idle (11)");
  EXPECT_TRUE(watch.UserAway());
}

TEST_F(PresenceTest, ReturnCancelsRemainingPlaysOnce) {
  Tick(false);
  Tick(false);
  anim.set_playAnimTimes(5);
  Tick(true);
  EXPECT_EQ(anim.playAnimTimes(), 0);
  EXPECT_EQ(anim.shutdowns, 1);
  EXPECT_FALSE(watch.UserAway());
  EXPECT_EQ(idle, L"");
  anim.set_playAnimTimes(3);
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 1) << "activity alone never stops a clip";
  Tick(false);
  anim.set_playAnimTimes(0);
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 1) << "no plays left: only read";
}

}  // namespace

namespace {

using presence::FrontWindow;
using presence::IsFullScreen;

TEST(FullScreen, AWindowWithoutATitleBarCoveringItsMonitorButNotTheScreenSaver) {
  const RECT monitor{0, 0, 1920, 1080};
  EXPECT_TRUE(IsFullScreen({false, false, false, monitor, monitor})) << "a slideshow";
  EXPECT_TRUE(IsFullScreen({false, false, false, {-8, -8, 1928, 1088}, monitor})) << "a little beyond it";
  EXPECT_TRUE(IsFullScreen({false, false, false, {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}})) << "on a second monitor";
  EXPECT_FALSE(IsFullScreen({false, false, true, {-8, -8, 1928, 1088}, monitor}))
      << "maximized with a title bar, over an auto-hidden taskbar";
  EXPECT_FALSE(IsFullScreen({false, false, false, {0, 0, 1920, 1040}, monitor})) << "leaves the taskbar free";
  EXPECT_FALSE(IsFullScreen({false, false, false, {0, 0, 800, 600}, monitor})) << "a borderless window of its size";
  EXPECT_FALSE(IsFullScreen({true, false, false, monitor, monitor})) << "the desktop itself";
  EXPECT_FALSE(IsFullScreen({false, true, false, monitor, monitor})) << "the screen saver: the user is away";

  EXPECT_TRUE(presence::IsAwayScreen(L"WindowsScreenSaverClass", L""));
  EXPECT_TRUE(presence::IsAwayScreen(L"Windows.UI.Core.CoreWindow", L"Windows Default Lock Screen"));
  EXPECT_FALSE(presence::IsAwayScreen(L"Windows.UI.Core.CoreWindow", L"Photos")) << "a store app in full screen";
  EXPECT_TRUE(presence::ShellSaysAway(QUNS_NOT_PRESENT));
  EXPECT_FALSE(presence::ShellSaysPresenting(QUNS_NOT_PRESENT));
}

}  // namespace
