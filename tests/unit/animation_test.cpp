// Play counts, the idle branch and the two-tick hide sequence.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "alerts/animation.h"
#include "support/fakes.h"

namespace {

using namespace alerts;

TEST(ParseLoopText, WholeNumbersAndFractionsHalfToEvenAndAnythingElsePlaysOnce) {
  const std::pair<const wchar_t*, int> table[] = {
      {L"12", 12}, {L" 3 ", 3}, {L"2.5", 2}, {L"3.5", 4}, {L"2.51", 3}, {L"32767", 32767},
      {L"", 1}, {L"0", 1}, {L"-1", 1}, {L"0.4", 1}, {L"32768", 1}, {L"1e9", 1}, {L"&H10", 1},
      {L"3x", 1}, {L".", 1}, {L"\u0663", 1}, {L"99999999999999999999999999999999999999999", 1}};
  for (const auto& [text, plays] : table)
    EXPECT_EQ(ParseLoopText(text), plays) << "text of length " << std::wstring(text).size();
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
  EXPECT_EQ(hides, 1) << "the tick count wrapped round";
}

TEST(StartAnimation, SetsPlaysAndLoopCountThenPlaysAndLoopsWhileTheUserIsAway) {
  testing_support::FakeAnimationWindow w;
  StartAnimation(w, false, L"4", -1);
  EXPECT_EQ(w.playAnimTimes(), 4);
  EXPECT_EQ(w.loopCount, 4);
  StartAnimation(w, true, L"4", 0);
  EXPECT_EQ(w.playAnimTimes(), 9000);
  EXPECT_EQ(w.loopCount, 9000);
  EXPECT_EQ(w.lefts, (std::vector<std::int32_t>{-1, 0}));
}

}  // namespace
