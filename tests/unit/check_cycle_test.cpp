// The check cycle and the alert it raises, second by simulated second.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "watch/check_cycle.h"

namespace {

using Log = std::vector<std::string>;

class CheckCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cycle.HostTimers(clock);
    cycle.Start();
  }
  void AllOn() { Beep = Eject = Anim = FlashDrive = 1; }
  void Seconds(int n) { clock.Advance(n * 1000ULL); }

  std::int16_t FileDetect = 0, Beep = 0, Eject = 0, Anim = 0, FlashDrive = 0;
  testing_support::FakeDesk desk;
  testing_support::FakeTimers clock;
  watch::CheckCycle cycle{{FileDetect, Beep, Eject, Anim, FlashDrive}, desk, desk};
};

TEST_F(CheckCycleTest, AFindRaisesTheTickedAlertsInOrderAndOnlyExactlyOneIsOn) {
  AllOn();
  Seconds(1);
  EXPECT_EQ(desk.log, Log{"probe"}) << "nothing found, nothing raised";
  desk.envelope = true;
  Seconds(1);
  EXPECT_EQ(desk.log, (Log{"probe", "probe", "alert", "beep", "eject", "anim -1", "floppy"}));
  EXPECT_FALSE(cycle.Watching());

  Seconds(15);
  desk.log.clear();
  Beep = Eject = Anim = FlashDrive = 2;  // greyed counts as off
  desk.animRight = false;
  desk.envelope = true;
  Seconds(1);
  EXPECT_EQ(desk.log, (Log{"probe", "alert"}));
  EXPECT_FALSE(cycle.Watching()) << "the alert still pauses the checks";
  Anim = 1;
  Seconds(16);
  desk.envelope = true;
  Seconds(1);
  EXPECT_EQ(desk.Count("anim 0"), 1) << "top left when the stored option says so";
}

TEST_F(CheckCycleTest, AnAlertLastsFifteenTicksAndFlashesTheFloppyEveryFiveSeconds) {
  FlashDrive = 1;
  desk.envelope = true;
  Seconds(1);
  Seconds(14);
  EXPECT_FALSE(cycle.Watching());
  EXPECT_EQ(desk.Count("floppy"), 3) << "at once, at 5 s and at 10 s";
  FlashDrive = 0;  // unticked during the alert: no more reads
  Seconds(1);
  EXPECT_TRUE(cycle.Watching());
  EXPECT_EQ(desk.Count("floppy"), 3);
  desk.envelope = true;
  Seconds(1);
  EXPECT_EQ(desk.Count("probe"), 2) << "the first check comes a second after the alert";
  FlashDrive = 1;  // ticked during an alert: from the next flash tick on
  Seconds(4);
  EXPECT_EQ(desk.Count("floppy"), 3);
  Seconds(1);
  EXPECT_EQ(desk.Count("floppy"), 4);
}

TEST_F(CheckCycleTest, TheMarkerReplacesTheProbeToastsCountBesideThemAndMailDuringAnAlertWaitsForItsEnd) {
  FileDetect = 1;
  Seconds(2);
  EXPECT_EQ(desk.log, (Log{"marker", "marker"}));
  FileDetect = 0;
  Seconds(1);
  EXPECT_EQ(desk.markerOffs, 1) << "a tick without the marker tells the marker check";
  Beep = 1;
  desk.envelope = true;
  Seconds(1);
  desk.envelope = true;  // a second envelope arrives during the alert
  Seconds(15);
  EXPECT_EQ(desk.Count("beep"), 1);
  Seconds(1);
  EXPECT_EQ(desk.Count("beep"), 2);
  Seconds(15);
  desk.toast = true;  // a mail app's toast
  Seconds(1);
  EXPECT_EQ(desk.Count("beep"), 3);
}

TEST_F(CheckCycleTest, MailFoundLaterAlertsAtOnceOrWhenTheCycleCanButNeverTwiceNorNever) {
  Beep = 1;
  cycle.MailFound();  // a lookup answered while watching
  EXPECT_EQ(desk.Count("beep"), 1);
  Seconds(5);
  cycle.MailFound();  // during the alert: after it
  Seconds(10);
  EXPECT_EQ(desk.Count("beep"), 1);
  Seconds(1);
  EXPECT_EQ(desk.Count("beep"), 2);
  EXPECT_EQ(desk.Count("probe"), 0) << "owed mail alerts before anything new is looked for";

  Seconds(15);
  desk.presenting = true;  // quiet holds the tick when a lookup answers
  const long probes = desk.Count("probe");
  cycle.MailFound();
  Seconds(5);
  EXPECT_EQ(desk.Count("beep"), 2);
  EXPECT_EQ(desk.Count("probe"), probes) << "looked while the user presented";
  cycle.TestAlert();  // the user's test alert does not use it up
  Seconds(15);
  desk.presenting = false;
  Seconds(1);
  EXPECT_EQ(desk.Count("beep"), 4) << "the test alert, then the mail found while quiet";
  Seconds(16);
  EXPECT_EQ(desk.Count("beep"), 4) << "alerted once";
}

TEST_F(CheckCycleTest, ATestAlertIsAMailAlertWithoutTheLookAndNotDuringOne) {
  AllOn();
  cycle.TestAlert();
  EXPECT_EQ(desk.log, (Log{"alert", "beep", "eject", "anim -1", "floppy"}));
  cycle.TestAlert();
  EXPECT_EQ(desk.Count("alert"), 1) << "a second alert during the first";
  Seconds(15);
  EXPECT_TRUE(cycle.Watching()) << "the same fifteen-tick pause";
}

}  // namespace
