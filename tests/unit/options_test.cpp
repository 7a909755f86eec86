// Loading and saving the stored options against an in-memory store.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/options.h"

namespace {

class MemoryStore final : public SettingsStore {
 public:
  std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) override {
    reads.push_back(key);
    auto it = values.find(app + L"\\" + section + L"\\" + key);
    return it == values.end() ? def : it->second;
  }
  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override {
    writes.push_back(key + L"=" + value);
    values[app + L"\\" + section + L"\\" + key] = value;
  }
  std::wstring& operator[](const std::wstring& key) { return values[L"Postlark\\Options\\" + key]; }
  bool Has(const std::wstring& key) const { return values.count(L"Postlark\\Options\\" + key) != 0; }

  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> reads, writes;
};

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { options.ConnectSaveHandlers(); }

  // Design values of the window: the defaults.
  ui::CheckBox chkFlashDrive{0}, chkEject{0}, chkBeep{1}, chkAnim{0}, chkAnimRight{1},
      chkFileDetect{0};
  ui::TextBox txtMovie{L"c:\\movie1.avi"}, txtLoop{L"1"}, txtFileDetect;
  MemoryStore store;
  Options options{{chkFlashDrive, chkEject, chkBeep, chkAnim, chkAnimRight, txtMovie, txtLoop,
                   chkFileDetect, txtFileDetect},
                  store};
};

TEST_F(OptionsTest, EmptyStoreGivesTheDefaultsInOrderAndWritesNothing) {
  options.LoadSettings();
  EXPECT_EQ(store.reads, (std::vector<std::wstring>{L"FlashDrive", L"Eject", L"Beep", L"Anim",
                                                    L"AnimRight", L"Movie", L"Loop", L"FileDetect",
                                                    L"FileDetectName"}));
  EXPECT_EQ(chkBeep.Value(), 1);
  EXPECT_EQ(chkAnimRight.Value(), 1);
  for (auto* c : {&chkFlashDrive, &chkEject, &chkAnim, &chkFileDetect}) EXPECT_EQ(c->Value(), 0);
  EXPECT_EQ(txtMovie.Text(), L"c:\\movie1.avi");
  EXPECT_EQ(txtLoop.Text(), L"1");
  EXPECT_EQ(txtFileDetect.Text(), L"");
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(OptionsTest, LoadedChangesRunTheirHandlersWhichWriteTheSameValueBack) {
  store[L"Beep"] = L"0";
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"7";
  store[L"Movie"] = L"D:\\clips\\ring.avi";
  options.LoadSettings();
  EXPECT_EQ(chkBeep.Value(), 0);
  EXPECT_EQ(chkAnim.Value(), 1);
  EXPECT_EQ(txtMovie.Text(), L"D:\\clips\\ring.avi");
  // The path box saves only on losing the focus.
  EXPECT_EQ(store.writes, (std::vector<std::wstring>{L"Beep=0", L"Anim=1", L"Loop=7"}));
  EXPECT_EQ(store[L"Beep"], L"0");
}

TEST_F(OptionsTest, GreyedValueLoadsAndOutsideValuesFallBackToTheDefault) {
  store[L"FlashDrive"] = L"2";
  store[L"Eject"] = L"7";
  store[L"Beep"] = L"abc";
  store[L"Anim"] = L"99999";
  store[L"AnimRight"] = L"";
  store[L"FileDetect"] = L"-1";
  options.LoadSettings();
  EXPECT_EQ(chkFlashDrive.Value(), 2);
  EXPECT_EQ(chkEject.Value(), 0);
  EXPECT_EQ(chkBeep.Value(), 1);
  EXPECT_EQ(chkAnim.Value(), 0);
  EXPECT_EQ(chkAnimRight.Value(), 1);
  EXPECT_EQ(chkFileDetect.Value(), 0);
}

TEST(ParseCheckValue, AcceptsOnlyZeroOneAndTwo) {
  EXPECT_EQ(ParseCheckValue(L"0"), 0);
  EXPECT_EQ(ParseCheckValue(L"1"), 1);
  EXPECT_EQ(ParseCheckValue(L" 2 "), 2);
  EXPECT_EQ(ParseCheckValue(L"+1"), 1);
  EXPECT_EQ(ParseCheckValue(L"-0"), 0);
  for (const wchar_t* bad : {L"", L" ", L"3", L"-1", L"1.0", L"1x", L"0x1", L"99999999999999999999",
                             L"\u0661"})
    EXPECT_FALSE(ParseCheckValue(bad).has_value()) << "value: " << std::wstring(bad).size();
}

TEST_F(OptionsTest, EachControlSavesFromItsOwnEvent) {
  chkAnim.OnUserClick();
  EXPECT_EQ(store[L"Anim"], L"1");
  chkAnim.OnUserClick();
  EXPECT_EQ(store[L"Anim"], L"0");

  txtLoop.SetText(L"");
  txtLoop.SetText(L"1");
  txtLoop.SetText(L"12");
  EXPECT_EQ(store.writes, (std::vector<std::wstring>{L"Anim=1", L"Anim=0", L"Loop=", L"Loop=1",
                                                     L"Loop=12"}));

  txtMovie.SetText(L"E:\\\u043a\u043b\u0438\u043f.avi");  // Cyrillic: kept as typed
  EXPECT_FALSE(store.Has(L"Movie"));
  txtMovie.OnKillFocus();
  EXPECT_EQ(store[L"Movie"], L"E:\\\u043a\u043b\u0438\u043f.avi");
  txtFileDetect.SetText(L"C:\\flag");
  txtFileDetect.OnKillFocus();
  EXPECT_EQ(store[L"FileDetectName"], L"C:\\flag");
}

TEST_F(OptionsTest, ATextLongerThanAnyPathIsCutToTheLongestPath) {
  store[L"Loop"] = std::wstring(100000, L'7');
  store[L"Movie"] = std::wstring(40000, L'm');
  options.LoadSettings();
  EXPECT_EQ(txtLoop.Text(), std::wstring(ui::TextBox::kMaxChars, L'7'));
  EXPECT_EQ(txtMovie.Text().size(), ui::TextBox::kMaxChars);
  EXPECT_EQ(store[L"Loop"].size(), ui::TextBox::kMaxChars) << "the loop box saves what it holds";
}

TEST_F(OptionsTest, AnimRightIsReadFromTheStoreNotTheCheckBox) {
  EXPECT_EQ(options.StoredAnimRight(), L"1");
  store[L"AnimRight"] = L"0";
  EXPECT_EQ(chkAnimRight.Value(), 1);
  EXPECT_EQ(options.StoredAnimRight(), L"0");
}

}  // namespace
