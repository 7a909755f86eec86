// Loading and saving the stored options, through the main window's own
// option table, against an in-memory store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "settings/options.h"
#include "support/fakes.h"

namespace {

using Keys = std::vector<std::wstring>;

class OptionsTest : public ::testing::Test {
 protected:
  app::Form1Controls c;
  testing_support::MemoryStore store;
  settings::Options options{store, app::Form1Options(c)};
};

TEST_F(OptionsTest, TheTableGivesTheDesignValuesAndAnEmptyStoreKeepsThemWritingNothing) {
  EXPECT_EQ(c.chkBeep.Value(), 1);
  EXPECT_EQ(c.txtMovie.Text(), L"c:\\movie1.avi");
  options.LoadSettings();
  EXPECT_EQ(store.reads, (Keys{L"FlashDrive", L"Eject", L"Beep", L"Anim", L"AnimRight", L"Movie",
                               L"Loop", L"FileDetect", L"FileDetectName", L"QuietFullScreen"}));
  EXPECT_EQ(c.quietWhilePresenting.Value(), 1) << "quiet while presenting is on by default";
  EXPECT_EQ(c.chkBeep.Value(), 1);
  EXPECT_EQ(c.chkAnimRight.Value(), 1);
  for (auto* box : {&c.chkFlashDrive, &c.chkEject, &c.chkAnim, &c.chkFileDetect}) EXPECT_EQ(box->Value(), 0);
  EXPECT_EQ(c.txtMovie.Text(), L"c:\\movie1.avi");
  EXPECT_EQ(c.txtLoop.Text(), L"1");
  EXPECT_EQ(c.txtFileDetect.Text(), L"");
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(OptionsTest, LoadedChangesRunTheirHandlersWhichWriteTheSameValueBack) {
  store[L"Beep"] = L"0";
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"7";
  store[L"Movie"] = L"D:\\clips\\ring.avi";
  options.LoadSettings();
  EXPECT_EQ(c.chkBeep.Value(), 0);
  EXPECT_EQ(c.chkAnim.Value(), 1);
  EXPECT_EQ(c.txtMovie.Text(), L"D:\\clips\\ring.avi");
  // The path box saves only on losing the focus.
  EXPECT_EQ(store.writes, (Keys{L"Beep=0", L"Anim=1", L"Loop=7"}));
}

TEST_F(OptionsTest, GreyedValueLoadsAndOutsideValuesFallBackToTheDefault) {
  store[L"FlashDrive"] = L"2";
  store[L"Eject"] = L"7";
  store[L"Beep"] = L"abc";
  store[L"Anim"] = L"99999";
  store[L"AnimRight"] = L"";
  store[L"FileDetect"] = L"-1";
  options.LoadSettings();
  EXPECT_EQ(c.chkFlashDrive.Value(), 2);
  EXPECT_EQ(c.chkEject.Value(), 0);
  EXPECT_EQ(c.chkBeep.Value(), 1);
  EXPECT_EQ(c.chkAnim.Value(), 0);
  EXPECT_EQ(c.chkAnimRight.Value(), 1);
  EXPECT_EQ(c.chkFileDetect.Value(), 0);
}

TEST(ParseCheckValue, AcceptsOnlyZeroOneAndTwo) {
  EXPECT_EQ(settings::ParseCheckValue(L"0"), 0);
  EXPECT_EQ(settings::ParseCheckValue(L"1"), 1);
  EXPECT_EQ(settings::ParseCheckValue(L" 2 "), 2);
  EXPECT_EQ(settings::ParseCheckValue(L"+1"), 1);
  EXPECT_EQ(settings::ParseCheckValue(L"-0"), 0);
  for (const wchar_t* bad : {L"", L" ", L"3", L"-1", L"1.0", L"1x", L"0x1", L"99999999999999999999",
                             L"\u0661"})
    EXPECT_FALSE(settings::ParseCheckValue(bad).has_value()) << "value: " << std::wstring(bad).size();
}

TEST_F(OptionsTest, EachControlSavesFromItsOwnEvent) {
  c.chkAnim.OnUserClick();
  EXPECT_EQ(store[L"Anim"], L"1");
  c.chkAnim.OnUserClick();
  EXPECT_EQ(store[L"Anim"], L"0");

  c.txtLoop.SetText(L"");
  c.txtLoop.SetText(L"1");
  c.txtLoop.SetText(L"12");
  EXPECT_EQ(store.writes, (Keys{L"Anim=1", L"Anim=0", L"Loop=", L"Loop=1", L"Loop=12"}));

  c.txtMovie.SetText(L"E:\\\u043a\u043b\u0438\u043f.avi");  // Cyrillic: kept as typed
  EXPECT_FALSE(store.Has(L"Movie"));
  c.txtMovie.OnNotify(EN_KILLFOCUS);
  EXPECT_EQ(store[L"Movie"], L"E:\\\u043a\u043b\u0438\u043f.avi");
  c.txtFileDetect.SetText(L"C:\\flag");
  c.txtFileDetect.OnNotify(EN_KILLFOCUS);
  EXPECT_EQ(store[L"FileDetectName"], L"C:\\flag");
}

TEST_F(OptionsTest, ATextLongerThanAnyPathIsCutToTheLongestPath) {
  store[L"Loop"] = std::wstring(100000, L'7');
  store[L"Movie"] = std::wstring(40000, L'm');
  options.LoadSettings();
  EXPECT_EQ(c.txtLoop.Text(), std::wstring(32767, L'7'));
  EXPECT_EQ(c.txtMovie.Text().size(), 32767u);
  EXPECT_EQ(store[L"Loop"].size(), 32767u) << "the loop box saves what it holds";
}

TEST_F(OptionsTest, AnimRightIsReadFromTheStoreNotTheCheckBox) {
  EXPECT_EQ(options.Stored(L"AnimRight"), L"1");
  store[L"AnimRight"] = L"0";
  EXPECT_EQ(c.chkAnimRight.Value(), 1);
  EXPECT_EQ(options.Stored(L"AnimRight"), L"0");
}

}  // namespace
