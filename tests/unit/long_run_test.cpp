// Thirty days of seconds through the real handlers, without waiting: mail
// every few minutes, idle spells, clips that loop while the user is away,
// option changes. Counters must stay in their types, every state machine must
// end where it should, and memory must not grow. (No window exists here, so
// GUI objects are not counted; the soak benchmark counts the real program's
// windows and handles.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "alerts/animation.h"
#include "app/form1_layout.h"
#include "presence/presence.h"
#include "settings/options.h"
#include "support/fakes.h"
#include "support/memory.h"
#include "watch/check_cycle.h"
#include "watch/envelope_probe.h"

namespace {

constexpr long kDays = 30;
constexpr long kSeconds = kDays * 24 * 3600;
constexpr long kMailEvery = 173;  // seconds; never in step with the 15-tick alert
constexpr int kClipSeconds = 3;

// A clip that takes kClipSeconds a play, as the player would end it.
struct Clip {
  testing_support::FakeAnimationWindow& anim;
  bool playing = false;
  int elapsed = 0;
  long playsDone = 0;
  long clips = 0, hides = 0;

  void Start() {
    playing = true;
    playsDone = 0;
    elapsed = 0;
    ++clips;
  }
  void Second() {
    if (playing && ++elapsed == kClipSeconds) {
      elapsed = 0;
      if (++playsDone >= anim.loopCount) playing = false;
      anim.seq.EndOfPlay();
    }
    if (anim.seq.TimerEnabled() && anim.seq.Tick()) {
      playing = false;  // parked left and stopped
      ++hides;
    }
  }
};

class Scripted final : public presence::InputState {
 public:
  BOOL GetCursorPos(POINT* p) override {
    *p = pos;
    return TRUE;
  }
  SHORT GetAsyncKeyState(int) override { return 0; }
  POINT pos{0, 0};
};

TEST(LongRun, ThirtyDaysOfSeconds) {
  Module1::gbMailArrived = base::kFalse;
  app::Form1Controls c;
  testing_support::MemoryStore store;
  store[L"FlashDrive"] = L"1";
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"2";
  settings::Options options(store, app::Form1Options(c));
  options.LoadSettings();
  testing_support::FakeDesk desk;
  desk.keepLog = false;
  watch::CheckCycle cycle({c.chkFileDetect, c.txtFileDetect, c.chkBeep, c.chkEject, c.chkAnim, c.chkFlashDrive},
                          desk, desk);
  Scripted input;
  presence::ActivityProbe probe(input);
  testing_support::FakeAnimationWindow anim;
  Clip clip{anim};
  presence::PresenceWatch presence(c.lblStatus, c.Label3, probe,
                                   [&]() -> alerts::AnimationWindow* { return &anim; });
  desk.onStartAnimation = [&](std::int32_t left) {
    alerts::StartAnimation(anim, presence.mbIdle, presence.mlIdleTicks, c.txtLoop.Text(), left);
    clip.Start();
  };
  cycle.timCheckMail.SetEnabled(true);
  store.keepLog = false;
  const long savesAtStart = store.saves;

  long mails = 0, awayAlerts = 0;
  SIZE_T bytesAfterDay1 = 0;
  for (long s = 1; s <= kSeconds; ++s) {
    // The user works for 20 minutes, then is away for 40.
    const bool away = (s / 60) % 60 >= 20;
    if (!away) input.pos.x = (input.pos.x + 1) % 1000;
    if (s % kMailEvery == 0) {
      desk.envelope = true;
      ++mails;
      if (away && presence.mlIdleTicks > 10) ++awayAlerts;
    }
    if (s % 3600 == 0) {  // the user tries an option and puts it back
      c.chkBeep.OnUserClick();
      c.chkBeep.OnUserClick();
    }
    if (s % 7200 == 0) c.txtLoop.SetText(s % 14400 ? L"3" : L"2");

    cycle.timCheckMail.Fire();
    if (s % 5 == 0) cycle.timFlash.Fire();
    cycle.timFlashDuration.Fire();
    presence.timIdleCheck.Fire();
    clip.Second();

    ASSERT_GE(cycle.glDurationTick, 0);
    ASSERT_LE(cycle.glDurationTick, 15);
    ASSERT_GE(presence.mlIdleTicks, 0);
    if (s == 86400) bytesAfterDay1 = testing_support::CommittedPrivateBytes(GetCurrentProcess());
  }
  // A quiet minute with the user at the desk lets everything settle.
  for (int s = 0; s < 60; ++s) {
    input.pos.y += 1;
    cycle.timCheckMail.Fire();
    cycle.timFlashDuration.Fire();
    presence.timIdleCheck.Fire();
    clip.Second();
  }

  EXPECT_EQ(desk.Count("beep"), mails) << "every envelope alerted exactly once";
  EXPECT_EQ(clip.clips, mails);
  EXPECT_GT(awayAlerts, 0);
  EXPECT_TRUE(cycle.timCheckMail.Enabled() && !cycle.timFlash.Enabled() && !cycle.timFlashDuration.Enabled())
      << "back to watching";
  EXPECT_EQ(Module1::gbMailArrived, base::kFalse);
  EXPECT_FALSE(clip.playing) << "the last clip was parked";
  EXPECT_LE(anim.playAnimTimes(), 0);
  EXPECT_EQ(presence.mbIdle, base::kFalse);
  EXPECT_EQ(store[L"Beep"], L"1");
  EXPECT_EQ(store.saves - savesAtStart, kDays * 24 * 2 + kDays * 12);

  ASSERT_GT(bytesAfterDay1, 0u);
  // Counted region by region: Wine reports PrivateUsage as 0.
  const SIZE_T bytesAtEnd = testing_support::CommittedPrivateBytes(GetCurrentProcess());
  const SIZE_T grown = bytesAtEnd > bytesAfterDay1 ? bytesAtEnd - bytesAfterDay1 : 0;
  EXPECT_LT(grown, 256u * 1024) << "private bytes grew by " << grown << " over 29 days";
}

}  // namespace
