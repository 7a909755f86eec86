// The check cycle between its mail sources and alert effects, second by
// simulated second.
#include <gtest/gtest.h>

#include <string>

#include "support/fakes.h"
#include "watch/check_cycle.h"

namespace {

using testing_support::Count;
using testing_support::FakeEffect;
using testing_support::FakeSource;
using testing_support::Log;

class CheckCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cycle.HostTimers(clock);
    cycle.Alerted = [this](const watch::MailSource* from) {
      log.push_back("alert");
      alertedFrom = from;
    };
    cycle.Start();
  }
  void Seconds(int n) { clock.Advance(n * 1000ULL); }

  Log log;
  FakeSource envelope{"envelope", log}, marker{"marker", log}, toasts{"toasts", log};
  FakeEffect beep{"beep", log}, clip{"clip", log}, floppy{"floppy", log};
  bool presenting = false;
  const watch::MailSource* alertedFrom = nullptr;
  testing_support::FakeTimers clock;
  watch::CheckCycle cycle{{&envelope, &marker, &toasts}, {&beep, &clip, &floppy}, [this] { return presenting; }};
};

TEST_F(CheckCycleTest, EachTickAsksEverySourceAndAFindRaisesTheEffectsThatAreOnInOrder) {
  marker.on = false;
  Seconds(1);
  EXPECT_EQ(log, (Log{"look envelope", "rest marker", "look toasts"}));
  log.clear();
  envelope.mail = toasts.mail = true;  // two finds in one tick: one alert
  clip.on = false;
  Seconds(1);
  EXPECT_EQ(log, (Log{"look envelope", "rest marker", "look toasts", "alert", "beep", "floppy"}));
  EXPECT_EQ(alertedFrom, &envelope) << "the first to find it";
  EXPECT_FALSE(cycle.Watching());
  Seconds(16);
  EXPECT_EQ(Count(log, "alert"), 1) << "the second find alerted again";
}

TEST_F(CheckCycleTest, AnAlertLastsFifteenTicksRepeatingEveryFiveSecondsWhatIsOnThen) {
  envelope.mail = true;
  Seconds(15);
  EXPECT_FALSE(cycle.Watching());
  EXPECT_EQ(Count(log, "repeat floppy"), 2) << "at 5 s and at 10 s";
  EXPECT_EQ(Count(log, "look envelope"), 1) << "looked during the alert";
  floppy.on = false;  // switched off during the alert: no more repeats
  Seconds(1);
  EXPECT_TRUE(cycle.Watching());
  EXPECT_EQ(Count(log, "repeat floppy"), 2);
  envelope.mail = true;
  Seconds(1);
  EXPECT_EQ(Count(log, "look envelope"), 2) << "the first look comes a second after the alert";
  floppy.on = true;  // switched on during an alert: from the next repeat on
  Seconds(4);
  EXPECT_EQ(Count(log, "repeat floppy"), 2);
  Seconds(1);
  EXPECT_EQ(Count(log, "repeat floppy"), 3);
}

TEST_F(CheckCycleTest, MailFoundLaterAlertsAtOnceOrWhenTheCycleCanButNeverTwiceNorNever) {
  marker.Found();  // a look-up answered while watching
  EXPECT_EQ(Count(log, "beep"), 1);
  Seconds(5);
  toasts.Found();  // during the alert: after it
  Seconds(10);
  EXPECT_EQ(Count(log, "beep"), 1);
  log.clear();
  Seconds(1);
  EXPECT_EQ(log, (Log{"alert", "beep", "clip", "floppy"})) << "owed mail alerts before anything new is looked for";
  EXPECT_EQ(alertedFrom, &toasts);

  Seconds(15);
  presenting = true;  // quiet holds a find and every look
  log.clear();
  marker.Found();
  Seconds(5);
  EXPECT_EQ(log, Log{}) << "looked or alerted while the user presented";
  cycle.TestAlert();  // the user's test alert does not use the find up
  EXPECT_EQ(alertedFrom, nullptr);
  Seconds(15);
  presenting = false;
  Seconds(1);
  EXPECT_EQ(Count(log, "beep"), 2) << "the test alert, then the mail found while quiet";
  EXPECT_EQ(alertedFrom, &marker);
  Seconds(16);
  EXPECT_EQ(Count(log, "beep"), 2) << "alerted twice";
}

// Held (the user presents, or paused alerts): the envelope and the marker
// stay where they are; the toasts are read, and their mail alerts once the
// hold ends, once.
TEST_F(CheckCycleTest, WhileHeldOnlyASourceWhoseLookTakesNothingIsAskedAndItsMailWaits) {
  toasts.takes = false;
  presenting = true;
  envelope.mail = toasts.mail = true;
  Seconds(3);
  EXPECT_EQ(log, (Log{"look toasts"})) << "one look while nothing was found, none after";
  presenting = false;
  Seconds(1);
  EXPECT_EQ(Count(log, "alert"), 1);
  EXPECT_EQ(alertedFrom, &toasts);
  EXPECT_TRUE(envelope.mail) << "the envelope was taken while held";
}

TEST_F(CheckCycleTest, ATestAlertIsAMailAlertWithoutTheLookAndNotDuringOne) {
  cycle.TestAlert();
  cycle.TestAlert();
  EXPECT_EQ(log, (Log{"alert", "beep", "clip", "floppy"}));
  Seconds(15);
  EXPECT_TRUE(cycle.Watching()) << "the same fifteen-tick pause";
}

// A new way of hearing mail is one more source in the list.
TEST(CheckCycleSources, AFourthSourceAlertsAsTheOthersDo) {
  Log log;
  FakeSource envelope{"envelope", log}, marker{"marker", log}, toasts{"toasts", log}, fourth{"fourth", log};
  FakeEffect beep{"beep", log};
  testing_support::FakeTimers clock;
  watch::CheckCycle cycle{{&envelope, &marker, &toasts, &fourth}, {&beep}, nullptr};
  cycle.HostTimers(clock);
  cycle.Start();
  fourth.mail = true;
  clock.Advance(1000);
  EXPECT_EQ(Count(log, "beep"), 1);
}

}  // namespace
