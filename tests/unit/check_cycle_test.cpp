// The check cycle and the alert it raises, driven tick by tick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "watch/check_cycle.h"
#include "watch/envelope_probe.h"

namespace {

using Log = std::vector<std::string>;

class CheckCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module1::gbMailArrived = base::kFalse;
    cycle.timCheckMail.SetEnabled(true);
  }
  void AllOn() {
    for (auto* c : {&chkBeep, &chkEject, &chkAnim, &chkFlashDrive}) c->SetValue(1);
  }
  bool Watching() const {
    return cycle.timCheckMail.Enabled() && !cycle.timFlash.Enabled() && !cycle.timFlashDuration.Enabled();
  }
  bool Alerting() const {
    return !cycle.timCheckMail.Enabled() && cycle.timFlash.Enabled() && cycle.timFlashDuration.Enabled();
  }

  ui::CheckBox chkFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive;
  ui::TextBox txtFileDetect;
  testing_support::FakeDesk desk;
  watch::CheckCycle cycle{{chkFileDetect, txtFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive},
                          desk, desk};
};

TEST_F(CheckCycleTest, NothingFoundChangesNothing) {
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, Log{"probe"});
  EXPECT_TRUE(Watching());
}

TEST_F(CheckCycleTest, DispatchRaisesTheTickedAlertsInOrder) {
  AllOn();
  desk.envelope = true;
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, (Log{"probe", "alert", "beep", "eject", "anim -1", "floppy"}));
  EXPECT_TRUE(Alerting());
  EXPECT_EQ(Module1::gbMailArrived, base::kFalse);
  EXPECT_EQ(cycle.glDurationTick, 0);
}

TEST_F(CheckCycleTest, OnlyExactlyOneSwitchesAnOptionOn) {
  for (auto* c : {&chkBeep, &chkEject, &chkAnim, &chkFlashDrive}) c->SetValue(2);
  desk.envelope = true;
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, (Log{"probe", "alert"}));
  EXPECT_TRUE(Alerting()) << "the alert still pauses the checks";
}

TEST_F(CheckCycleTest, StoredAnimRightChoosesTheCorner) {
  chkAnim.SetValue(1);
  for (const auto& [stored, expected] :
       std::vector<std::pair<std::wstring, std::string>>{{L"1", "anim -1"}, {L"0", "anim 0"},
                                                         {L"", "anim 0"}, {L" 1", "anim 0"}}) {
    desk.log.clear();
    desk.animRight = stored;
    desk.envelope = true;
    cycle.timCheckMail.SetEnabled(true);
    cycle.timCheckMail.Fire();
    ASSERT_EQ(desk.log.size(), 3u);
    EXPECT_EQ(desk.log[2], expected) << "AnimRight \"" << std::string(stored.begin(), stored.end()) << "\"";
  }
}

TEST_F(CheckCycleTest, AlertLastsExactlyFifteenDurationTicks) {
  desk.envelope = true;
  cycle.timCheckMail.Fire();
  for (int tick = 1; tick < 15; ++tick) {
    cycle.timFlashDuration.Fire();
    EXPECT_EQ(cycle.glDurationTick, tick);
    ASSERT_TRUE(Alerting()) << "after tick " << tick;
  }
  cycle.timFlashDuration.Fire();
  EXPECT_EQ(cycle.glDurationTick, 15);
  EXPECT_TRUE(Watching());
  // A stray tick after the end never pushes the count past 15.
  cycle.timFlashDuration_Timer();
  EXPECT_EQ(cycle.glDurationTick, 15);
}

TEST_F(CheckCycleTest, FlashTicksFollowTheLiveOption) {
  desk.envelope = true;
  cycle.timCheckMail.Fire();
  desk.log.clear();
  cycle.timFlash.Fire();
  EXPECT_TRUE(desk.log.empty());
  chkFlashDrive.SetValue(1);  // ticked during the alert: from the next flash tick on
  cycle.timFlash.Fire();
  EXPECT_EQ(desk.log, Log{"floppy"});
  chkFlashDrive.SetValue(0);
  cycle.timFlash.Fire();
  EXPECT_EQ(desk.log.size(), 1u);
}

TEST_F(CheckCycleTest, MarkerBranchReplacesTheProbe) {
  chkFileDetect.SetValue(1);
  chkBeep.SetValue(1);
  txtFileDetect.SetText(L"C:\\mail\\new.flag");
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, Log{"marker"});
  EXPECT_EQ(desk.markerPath, L"C:\\mail\\new.flag");
  desk.marker = true;
  txtFileDetect.SetText(L"D:\\other.flag");  // read afresh at every tick
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, (Log{"marker", "marker", "alert", "beep"}));
  EXPECT_EQ(desk.markerPath, L"D:\\other.flag");
  EXPECT_TRUE(Alerting());
}

TEST_F(CheckCycleTest, MarkerBranchIgnoresAStrayMailFlagAndClearsIt) {
  chkFileDetect.SetValue(1);
  Module1::gbMailArrived = base::kTrue;
  cycle.timCheckMail.Fire();
  EXPECT_TRUE(Watching());
  desk.marker = true;
  cycle.timCheckMail.Fire();
  EXPECT_EQ(Module1::gbMailArrived, base::kFalse);
}

TEST_F(CheckCycleTest, MailDuringAnAlertIsFoundByTheFirstCheckAfterIt) {
  chkBeep.SetValue(1);
  desk.envelope = true;
  cycle.timCheckMail.Fire();
  desk.envelope = true;  // a second envelope arrives during the alert
  for (int i = 0; i < 15; ++i) {
    cycle.timCheckMail.Fire();  // a disabled timer does not tick
    cycle.timFlashDuration.Fire();
  }
  EXPECT_EQ(desk.Count("beep"), 1);
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.Count("beep"), 2);
}

TEST_F(CheckCycleTest, WhileTheUserPresentsNothingIsLookedForAndTheFirstTickAfterFindsIt) {
  chkBeep.SetValue(1);
  desk.presenting = true;
  desk.envelope = true;
  for (int tick = 0; tick < 5; ++tick) cycle.timCheckMail.Fire();
  chkFileDetect.SetValue(1);
  desk.marker = true;
  cycle.timCheckMail.Fire();
  EXPECT_TRUE(desk.log.empty()) << "looked while the user presented";
  EXPECT_TRUE(Watching());
  desk.presenting = false;
  cycle.timCheckMail.Fire();
  EXPECT_EQ(desk.log, (Log{"marker", "alert", "beep"}));
}

TEST_F(CheckCycleTest, ATestAlertIsAMailAlertWithoutTheLookAndNotDuringOne) {
  AllOn();
  cycle.TestAlert();
  EXPECT_EQ(desk.log, (Log{"alert", "beep", "eject", "anim -1", "floppy"}));
  EXPECT_TRUE(Alerting());
  cycle.TestAlert();
  EXPECT_EQ(desk.Count("alert"), 1) << "a second alert during the first";
  for (int i = 0; i < 15; ++i) cycle.timFlashDuration.Fire();
  EXPECT_TRUE(Watching()) << "the same fifteen-tick pause";
}

}  // namespace
