// The check cycle and the alert it raises, driven tick by tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "watch/check_cycle.h"
#include "watch/envelope_probe.h"

namespace {

struct Recorder final : MailSources, AlertEffects {
  std::vector<std::string> log;
  bool envelope = false;
  bool marker = false;
  std::wstring animRight = L"1";
  std::wstring markerPath;

  void CheckOutlookTray() override {
    log.push_back("probe");
    if (envelope) Module1::gbMailArrived = vbTrue;
    envelope = false;
  }
  bool CheckMarkerFile(const std::wstring& path) override {
    log.push_back("marker");
    markerPath = path;
    const bool found = marker;
    marker = false;
    return found;
  }
  void Beep() override { log.push_back("beep"); }
  void OpenCdTray() override { log.push_back("eject"); }
  void StartAnimation(std::int32_t left) override { log.push_back("anim " + std::to_string(left)); }
  void FlashFloppyDrive() override { log.push_back("floppy"); }
  std::wstring StoredAnimRight() override { return animRight; }
};

class CheckCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module1::gbMailArrived = vbFalse;
    timCheckMail.SetEnabled(true);
    timCheckMail.Tick = [this] { cycle.timCheckMail_Timer(); };
  }
  void AllOn() {
    for (auto* c : {&chkBeep, &chkEject, &chkAnim, &chkFlashDrive}) c->SetValue(1);
  }
  bool Watching() const {
    return timCheckMail.Enabled() && !timFlash.Enabled() && !timFlashDuration.Enabled();
  }
  bool Alerting() const {
    return !timCheckMail.Enabled() && timFlash.Enabled() && timFlashDuration.Enabled();
  }

  ui::CheckBox chkFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive;
  ui::TextBox txtFileDetect{L"C:\\mail\\new.flag"};
  ui::Timer timCheckMail{1000}, timFlash{5000}, timFlashDuration{1000};
  Recorder rec;
  CheckCycle cycle{{chkFileDetect, txtFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive,
                    timCheckMail, timFlash, timFlashDuration},
                   rec, rec};
};

TEST_F(CheckCycleTest, NothingFoundChangesNothing) {
  cycle.timCheckMail_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"probe"}));
  EXPECT_TRUE(Watching());
}

TEST_F(CheckCycleTest, DispatchRaisesTheTickedAlertsInOrder) {
  AllOn();
  rec.envelope = true;
  cycle.timCheckMail_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"probe", "beep", "eject", "anim -1", "floppy"}));
  EXPECT_TRUE(Alerting());
  EXPECT_EQ(Module1::gbMailArrived, vbFalse);
  EXPECT_EQ(cycle.glDurationTick, 0);
}

TEST_F(CheckCycleTest, OnlyExactlyOneSwitchesAnOptionOn) {
  for (auto* c : {&chkBeep, &chkEject, &chkAnim, &chkFlashDrive}) c->SetValue(2);
  rec.envelope = true;
  cycle.timCheckMail_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"probe"}));
  EXPECT_TRUE(Alerting()) << "the alert still pauses the checks";
}

TEST_F(CheckCycleTest, StoredAnimRightChoosesTheCorner) {
  chkAnim.SetValue(1);
  for (const auto& [stored, expected] :
       std::vector<std::pair<std::wstring, std::string>>{{L"1", "anim -1"}, {L"0", "anim 0"},
                                                         {L"", "anim 0"}, {L" 1", "anim 0"}}) {
    rec.log.clear();
    rec.animRight = stored;
    rec.envelope = true;
    timCheckMail.SetEnabled(true);
    cycle.timCheckMail_Timer();
    ASSERT_EQ(rec.log.size(), 2u);
    EXPECT_EQ(rec.log[1], expected) << "AnimRight \"" << std::string(stored.begin(), stored.end()) << "\"";
  }
}

TEST_F(CheckCycleTest, AlertLastsExactlyFifteenDurationTicks) {
  rec.envelope = true;
  cycle.timCheckMail_Timer();
  for (int tick = 1; tick < 15; ++tick) {
    cycle.timFlashDuration_Timer();
    EXPECT_EQ(cycle.glDurationTick, tick);
    ASSERT_TRUE(Alerting()) << "after tick " << tick;
  }
  cycle.timFlashDuration_Timer();
  EXPECT_EQ(cycle.glDurationTick, 15);
  EXPECT_TRUE(Watching());
  // A stray tick after the end never pushes the count past 15.
  cycle.timFlashDuration_Timer();
  EXPECT_EQ(cycle.glDurationTick, 15);
}

TEST_F(CheckCycleTest, FlashTicksFollowTheLiveOption) {
  rec.envelope = true;
  cycle.timCheckMail_Timer();
  rec.log.clear();
  cycle.timFlash_Timer();
  EXPECT_TRUE(rec.log.empty());
  chkFlashDrive.SetValue(1);  // ticked during the alert: from the next flash tick on
  cycle.timFlash_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"floppy"}));
  chkFlashDrive.SetValue(0);
  cycle.timFlash_Timer();
  EXPECT_EQ(rec.log.size(), 1u);
}

TEST_F(CheckCycleTest, MarkerBranchReplacesTheProbe) {
  chkFileDetect.SetValue(1);
  chkBeep.SetValue(1);
  cycle.timCheckMail_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"marker"}));
  EXPECT_EQ(rec.markerPath, L"C:\\mail\\new.flag");
  rec.marker = true;
  txtFileDetect.SetText(L"D:\\other.flag");  // read afresh at every tick
  cycle.timCheckMail_Timer();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"marker", "marker", "beep"}));
  EXPECT_EQ(rec.markerPath, L"D:\\other.flag");
  EXPECT_TRUE(Alerting());
}

TEST_F(CheckCycleTest, MarkerBranchIgnoresAStrayMailFlagAndClearsIt) {
  chkFileDetect.SetValue(1);
  Module1::gbMailArrived = vbTrue;
  cycle.timCheckMail_Timer();
  EXPECT_TRUE(Watching());
  rec.marker = true;
  cycle.timCheckMail_Timer();
  EXPECT_EQ(Module1::gbMailArrived, vbFalse);
}

TEST_F(CheckCycleTest, MailDuringAnAlertIsFoundByTheFirstCheckAfterIt) {
  chkBeep.SetValue(1);
  rec.envelope = true;
  cycle.timCheckMail_Timer();
  rec.envelope = true;  // a second envelope arrives during the alert
  for (int i = 0; i < 15; ++i) {
    timCheckMail.Fire();  // a disabled timer does not tick
    cycle.timFlashDuration_Timer();
  }
  EXPECT_EQ(std::count(rec.log.begin(), rec.log.end(), "beep"), 1);
  timCheckMail.Fire();
  EXPECT_EQ(std::count(rec.log.begin(), rec.log.end(), "beep"), 2);
}

}  // namespace
