// The clip's plays, its two-tick hide, and the effect that starts it.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "alerts/clip.h"
#include "support/fakes.h"

namespace {

using alerts::ClipPlace;
using alerts::ClipPlays;

TEST(ClipPlays, TheLastPlayHidesOnTheSecondTickAndAnEndWithNoneLeftStartsTheHideAgain) {
  ClipPlays plays;
  plays.Start(2);
  EXPECT_FALSE(plays.EndOfPlay());
  EXPECT_TRUE(plays.EndOfPlay());
  EXPECT_FALSE(plays.Tick());
  EXPECT_TRUE(plays.Tick());
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(plays.Tick()) << "ticks after the second do nothing";
  EXPECT_TRUE(plays.EndOfPlay()) << "none left: the hide starts again, from 0";
  EXPECT_EQ(plays.Left(), -1);
  EXPECT_FALSE(plays.Tick());
  EXPECT_TRUE(plays.Tick());
}

TEST(ClipPlays, ACancelHidesOnlyAClipWithPlaysLeftAndTheCountersStopAtTheirLimits) {
  ClipPlays plays;
  EXPECT_FALSE(plays.Cancel()) << "no plays left: nothing to hide";
  plays.Start(5);
  EXPECT_TRUE(plays.Cancel());
  EXPECT_EQ(plays.Left(), 0);
  plays.Start(std::numeric_limits<std::int16_t>::min());
  plays.EndOfPlay();
  EXPECT_EQ(plays.Left(), std::numeric_limits<std::int16_t>::min());
  int hides = 0;
  for (int i = 0; i < 70000; ++i) hides += plays.Tick();
  EXPECT_EQ(hides, 1) << "the tick count wrapped round";
}

TEST(ClipEffect, PlaysInTheCornerTheBoxSaysAsOftenAsTheLoopCountOrUntilTheUserIsBack) {
  testing_support::FakeClipWindow window;
  bool on = true, topRight = true, away = false;
  int loops = 4;
  alerts::ClipEffect clip(window, {on, topRight, loops}, [] { return L"C:\\clip.avi"; }, [&] { return away; });
  clip.Raise();
  EXPECT_EQ(window.plays.Left(), 4);
  topRight = false;
  away = true;
  clip.Raise();
  EXPECT_EQ(window.plays.Left(), alerts::kAwayPlays);
  EXPECT_EQ(window.places, (std::vector<ClipPlace>{ClipPlace::TopRight, ClipPlace::TopLeft}));
  EXPECT_EQ(window.paths.back(), L"C:\\clip.avi");
  clip.UserReturned();
  EXPECT_EQ(window.cancels, 1);
}

}  // namespace
