// Idle detection over scripted pointer positions and key states.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>

#include "presence/presence.h"

namespace {

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

class FakeAnim final : public AnimationWindow {
 public:
  std::int16_t playAnimTimes() const override { return plays; }
  void set_playAnimTimes(std::int16_t p) override { plays = p; }
  void put_LoopCount(long) override {}
  void PlayRandomClip(std::int32_t) override {}
  void timedShutdownBegin() override { ++shutdowns; }
  std::int16_t plays = 0;
  int shutdowns = 0;
};

TEST(UserIsActive, PointerMovesOnEitherAxisAndKeysCount) {
  ScriptedInput in;
  ActivityProbe probe(in);
  EXPECT_EQ(probe.UserIsActive(), vbFalse) << "pointer at (0, 0), where it starts";
  in.pos = {0, 5};
  EXPECT_EQ(probe.UserIsActive(), vbTrue);
  EXPECT_EQ(in.queries, 256) << "the first call scanned every key";
  EXPECT_EQ(probe.UserIsActive(), vbFalse);
  in.keys = {VK_LBUTTON};
  EXPECT_EQ(probe.UserIsActive(), vbTrue);
  in.keys = {255};
  in.keyBits = 0x0001;  // pressed since the last look
  EXPECT_EQ(probe.UserIsActive(), vbTrue);
  in.keys = {};
  in.readable = false;
  EXPECT_EQ(probe.UserIsActive(), vbFalse) << "an unreadable pointer has not moved";
}

TEST(UserIsActive, StopsScanningAtTheFirstKeyDown) {
  ScriptedInput in;
  ActivityProbe probe(in);
  in.keys = {0x10};
  in.queries = 0;
  EXPECT_EQ(probe.UserIsActive(), vbTrue);
  EXPECT_EQ(in.queries, 0x11);
}

class PresenceTest : public ::testing::Test {
 protected:
  void Tick(bool active) {
    if (active) in.pos.x += 1;
    watch.timIdleCheck_Timer();
  }
  ScriptedInput in;
  ActivityProbe probe{in};
  ui::Label lblStatus, Label3;
  FakeAnim anim;
  PresenceWatch watch{lblStatus, Label3, probe, [this]() -> AnimationWindow* { return &anim; }};
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
  EXPECT_EQ(watch.mbIdle, vbTrue);
  EXPECT_EQ(Label3.Text(), L"Idle (0)");
  for (int i = 0; i < 11; ++i) Tick(false);
  EXPECT_EQ(watch.mlIdleTicks, 11) << "12 idle ticks: the first above the threshold";
  EXPECT_EQ(Label3.Text(), L"Idle (11)");
}

TEST_F(PresenceTest, ReturnCancelsRemainingPlaysOnce) {
  Tick(false);
  Tick(false);
  anim.plays = 5;
  Tick(true);
  EXPECT_EQ(anim.plays, 0);
  EXPECT_EQ(anim.shutdowns, 1);
  EXPECT_EQ(watch.mbIdle, vbFalse);
  EXPECT_EQ(Label3.Text(), L"");
  EXPECT_EQ(watch.mlIdleTicks, 1) << "kept until the next spell";
  anim.plays = 3;
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 1) << "activity alone never stops a clip";
}

TEST_F(PresenceTest, ReturnWithNoPlaysLeftOnlyReads) {
  Tick(false);
  anim.plays = 0;
  Tick(true);
  EXPECT_EQ(anim.shutdowns, 0);
  anim.plays = -1;
  Tick(false);
  Tick(true);
  EXPECT_EQ(anim.plays, -1);
  EXPECT_EQ(anim.shutdowns, 0);
}

}  // namespace
