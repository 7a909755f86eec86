// Idle detection over scripted pointer positions and key states.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "presence/presence.h"
#include "presence/presenting.h"
#include "support/fakes.h"

namespace {

using namespace presence;
using testing_support::FakeAnimationWindow;

class ScriptedInput final : public InputState {
 public:
  BOOL GetCursorPos(POINT* p) override {
    if (!readable) return FALSE;
    *p = pos;
    return TRUE;
  }
  SHORT GetAsyncKeyState(int vk) override {
    ++queries;
    return keys.count(vk) ? static_cast<SHORT>(keyBits) : 0;
  }
  POINT pos{0, 0};
  bool readable = true;
  std::set<int> keys;
  unsigned keyBits = 0x8000;
  int queries = 0;
};

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

TEST(UserIsActive, StopsScanningAtTheFirstKeyDown) {
  ScriptedInput in;
  ActivityProbe probe(in);
  in.keys = {0x10};
  in.queries = 0;
  EXPECT_EQ(probe.UserIsActive(), base::kTrue);
  EXPECT_EQ(in.queries, 0x11);
}

class PresenceTest : public ::testing::Test {
 protected:
  void Tick(bool active) {
    if (active) in.pos.x += 1;
    watch.timIdleCheck.Fire();
  }
  ScriptedInput in;
  ActivityProbe probe{in};
  ui::Label lblStatus, Label3;
  FakeAnimationWindow anim;
  PresenceWatch watch{lblStatus, Label3, probe, [this]() -> alerts::AnimationWindow* { return &anim; }};
};

TEST_F(PresenceTest, StatusBlinksEveryTickWhateverTheUserDoes) {
  EXPECT_EQ(lblStatus.Text(), L"");
  const wchar_t* expected[] = {L"Status: ACTIVE", L"Status:", L"Status: ACTIVE", L"Status:"};
  for (int i = 0; i < 4; ++i) {
    Tick(i % 2 == 0);
    EXPECT_EQ(lblStatus.Text(), expected[i]);
  }
}

TEST_F(PresenceTest, IdleSpellCountsFromZeroAndShowsIt) {
  Tick(true);
  EXPECT_EQ(Label3.Text(), L"");
  Tick(false);
  EXPECT_EQ(watch.mbIdle, base::kTrue);
  EXPECT_EQ(Label3.Text(), L"Idle (0)");
  for (int i = 0; i < 11; ++i) Tick(false);
  EXPECT_EQ(watch.mlIdleTicks, 11) << "12 idle ticks: the first above the threshold";
  EXPECT_EQ(Label3.Text(), L"Idle (11)");
}

TEST_F(PresenceTest, ReturnCancelsRemainingPlaysOnce) {
  Tick(false);
  Tick(false);
  anim.set_playAnimTimes(5);
  Tick(true);
  EXPECT_EQ(anim.playAnimTimes(), 0);
  EXPECT_EQ(anim.shutdowns, 1);
  EXPECT_EQ(watch.mbIdle, base::kFalse);
  EXPECT_EQ(Label3.Text(), L"");
  EXPECT_EQ(watch.mlIdleTicks, 1) << "kept until the next spell";
  anim.set_playAnimTimes(3);
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 1) << "activity alone never stops a clip";
}

TEST_F(PresenceTest, ReturnWithNoPlaysLeftOnlyReads) {
  Tick(false);
  anim.set_playAnimTimes(0);
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 0);
  anim.set_playAnimTimes(-1);
  Tick(false);
  Tick(true);
  EXPECT_EQ(anim.playAnimTimes(), -1);
  EXPECT_EQ(anim.shutdowns, 0);
}

}  // namespace

namespace {

using presence::FrontWindow;
using presence::IsFullScreen;

TEST(FullScreen, AWindowWithoutATitleBarCoveringItsMonitor) {
  const RECT monitor{0, 0, 1920, 1080};
  EXPECT_TRUE(IsFullScreen({false, false, monitor, monitor})) << "a slideshow";
  EXPECT_TRUE(IsFullScreen({false, false, {-8, -8, 1928, 1088}, monitor})) << "a little beyond it";
  EXPECT_TRUE(IsFullScreen({false, false, {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}})) << "on a second monitor";
  EXPECT_FALSE(IsFullScreen({false, true, {-8, -8, 1928, 1088}, monitor}))
      << "maximized with a title bar, over an auto-hidden taskbar";
  EXPECT_FALSE(IsFullScreen({false, false, {0, 0, 1920, 1040}, monitor})) << "leaves the taskbar free";
  EXPECT_FALSE(IsFullScreen({false, false, {0, 0, 800, 600}, monitor})) << "a borderless window of its size";
  EXPECT_FALSE(IsFullScreen({true, false, monitor, monitor})) << "the desktop itself";
}

TEST(FullScreen, WhatTheShellCallsPresenting) {
  EXPECT_TRUE(presence::ShellSaysPresenting(QUNS_BUSY));
  EXPECT_TRUE(presence::ShellSaysPresenting(QUNS_RUNNING_D3D_FULL_SCREEN));
  EXPECT_TRUE(presence::ShellSaysPresenting(QUNS_PRESENTATION_MODE));
  for (int other : {int{QUNS_NOT_PRESENT}, int{QUNS_ACCEPTS_NOTIFICATIONS}, int{QUNS_QUIET_TIME}, int{QUNS_APP}, 0})
    EXPECT_FALSE(presence::ShellSaysPresenting(other)) << other;
}

}  // namespace
