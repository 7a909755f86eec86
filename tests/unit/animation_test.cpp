// Play counts, the idle branch and the two-tick hide sequence.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "alerts/animation.h"
#include "support/fakes.h"

namespace {

using namespace alerts;

TEST(ParseLoopText, WholeNumbersAndFractionsHalfToEven) {
  EXPECT_EQ(ParseLoopText(L"1"), 1);
  EXPECT_EQ(ParseLoopText(L"12"), 12);
  EXPECT_EQ(ParseLoopText(L" 3 "), 3);
  EXPECT_EQ(ParseLoopText(L"2.5"), 2);
  EXPECT_EQ(ParseLoopText(L"3.5"), 4);
  EXPECT_EQ(ParseLoopText(L"2.51"), 3);
  EXPECT_EQ(ParseLoopText(L"32767"), 32767);
}

TEST(ParseLoopText, AnythingElsePlaysOnce) {
  for (const wchar_t* text : {L"", L" ", L"0", L"-1", L"0.4", L"32768", L"1e9", L"&H10", L"abc",
                              L"3x", L".", L"-", L"99999999999999999999999999999999999999999"})
    EXPECT_EQ(ParseLoopText(text), 1) << "text of length " << std::wstring(text).size();
}

TEST(PlanAnimation, AwayForMoreThanTenIdleTicksLoops) {
  EXPECT_EQ(PlanAnimation(base::kTrue, 11, L"3").plays, 9000);
  EXPECT_EQ(PlanAnimation(base::kTrue, 11, L"3").loopCount, 9000);
  EXPECT_EQ(PlanAnimation(base::kTrue, 10, L"3").plays, 3) << "10 is not above the threshold";
  EXPECT_EQ(PlanAnimation(base::kFalse, 500, L"3").plays, 3) << "a count left from an old spell";
  EXPECT_EQ(PlanAnimation(base::kFalse, 0, L"2.5").loopCount, 2);
}

TEST(AnimationSequence, LastPlayHidesOnTheSecondTick) {
  AnimationSequence seq;
  seq.playAnimTimes = 2;
  EXPECT_FALSE(seq.EndOfPlay());
  EXPECT_FALSE(seq.TimerEnabled());
  EXPECT_TRUE(seq.EndOfPlay());
  EXPECT_TRUE(seq.TimerEnabled());
  EXPECT_FALSE(seq.Tick());
  EXPECT_TRUE(seq.Tick());
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(seq.Tick()) << "ticks after the second do nothing";
}

TEST(AnimationSequence, EndOfPlayWithNoneLeftStartsTheHideAgain) {
  AnimationSequence seq;
  seq.playAnimTimes = 0;
  EXPECT_TRUE(seq.EndOfPlay());
  EXPECT_EQ(seq.playAnimTimes, -1);
  seq.Tick();
  EXPECT_TRUE(seq.EndOfPlay());  // restarts the count from 0
  EXPECT_FALSE(seq.Tick());
  EXPECT_TRUE(seq.Tick());
}

TEST(AnimationSequence, AClipStartedWhileAHideIsPendingIsParkedByIt) {
  AnimationSequence seq;
  seq.playAnimTimes = 1;
  seq.EndOfPlay();
  seq.Tick();
  seq.playAnimTimes = 5;  // a new alert's clip: the count is not reset
  EXPECT_TRUE(seq.Tick());
}

TEST(AnimationSequence, CountersStopAtTheirLimits) {
  AnimationSequence seq;
  seq.playAnimTimes = std::numeric_limits<std::int16_t>::min();
  seq.EndOfPlay();
  EXPECT_EQ(seq.playAnimTimes, std::numeric_limits<std::int16_t>::min());
  int hides = 0;
  for (int i = 0; i < 70000; ++i) hides += seq.Tick();
  EXPECT_EQ(hides, 1);
  EXPECT_EQ(seq.Ticks(), std::numeric_limits<std::int16_t>::max());
}

TEST(StartAnimation, SetsPlaysAndLoopCountThenPlays) {
  testing_support::FakeAnimationWindow w;
  StartAnimation(w, base::kFalse, 0, L"4", -1);
  EXPECT_EQ(w.playAnimTimes(), 4);
  EXPECT_EQ(w.loopCount, 4);
  StartAnimation(w, base::kTrue, 12, L"4", 0);
  EXPECT_EQ(w.playAnimTimes(), 9000);
  EXPECT_EQ(w.loopCount, 9000);
  EXPECT_EQ(w.lefts, (std::vector<std::int32_t>{-1, 0}));
}

}  // namespace
