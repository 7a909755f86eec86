// The options record, loaded from and saved to an in-memory store through
// the one table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/options.h"
#include "support/fakes.h"

namespace {

using Keys = std::vector<std::wstring>;
using settings::Options;

class OptionsTest : public ::testing::Test {
 protected:
  testing_support::MemoryStore store;
  settings::OptionBook book{store};
  const Options& o = book.Get();
};

TEST_F(OptionsTest, AnEmptyStoreGivesTheDefaultsAndWritesNothing) {
  book.LoadSettings();
  EXPECT_EQ(store.reads, (Keys{L"FlashDrive", L"Eject", L"Beep", L"Anim", L"AnimRight", L"Movie",
                               L"Loop", L"FileDetect", L"FileDetectName", L"QuietFullScreen",
                               L"WatchNotifications", L"NotifyApps"}));
  EXPECT_EQ(o.Beep, 1);
  EXPECT_EQ(o.AnimRight, 1);
  EXPECT_EQ(o.QuietFullScreen, 1);
  EXPECT_EQ(o.WatchNotifications, 1);
  EXPECT_EQ(o.NotifyApps, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe") << "the new Outlook, and only it";
  for (auto flag : {o.FlashDrive, o.Eject, o.Anim, o.FileDetect}) EXPECT_EQ(flag, 0);
  EXPECT_EQ(o.Movie, L"c:\\movie1.avi");
  EXPECT_EQ(o.Loop, L"1");
  EXPECT_EQ(o.FileDetectName, L"");
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(OptionsTest, LoadedChangesAreWrittenBackAsTheirOwnSavesWouldAndTheViewHearsOfThem) {
  store[L"Beep"] = L"0";
  store[L"Anim"] = L"1";
  store[L"Loop"] = L"7";
  store[L"Movie"] = L"D:\\clips\\ring.avi";
  store[L"FlashDrive"] = L"2";  // greyed loads as it is
  store[L"Eject"] = L"7";       // values from outside: the default
  store[L"AnimRight"] = L"";
  store[L"FileDetect"] = L"-1";
  store[L"FileDetectName"] = std::wstring(40000, L'm');  // cut to the longest path
  int changes = 0;
  book.Changed = [&](settings::Field) { ++changes; };
  book.LoadSettings();
  EXPECT_EQ(o.Beep, 0);
  EXPECT_EQ(o.Anim, 1);
  EXPECT_EQ(o.FlashDrive, 2);
  EXPECT_EQ(o.Eject, 0);
  EXPECT_EQ(o.AnimRight, 1);
  EXPECT_EQ(o.FileDetect, 0);
  EXPECT_EQ(o.Movie, L"D:\\clips\\ring.avi");
  EXPECT_EQ(o.FileDetectName.size(), 32767u);
  EXPECT_EQ(changes, 6);
  // A path saves only on losing the focus.
  EXPECT_EQ(store.writes, (Keys{L"FlashDrive=2", L"Beep=0", L"Anim=1", L"Loop=7"}));
}

TEST_F(OptionsTest, EachFieldSavesByItsOwnRule) {
  book.Toggle(&Options::Anim);
  book.Toggle(&Options::Anim);
  book.Set(&Options::FlashDrive, 2);
  book.Toggle(&Options::FlashDrive);  // a click on a greyed box ticks it
  book.Set(&Options::Loop, L"");
  book.Set(&Options::Loop, L"12");
  book.Set(&Options::Loop, L"12");  // the same text: nothing
  EXPECT_EQ(store.writes, (Keys{L"Anim=1", L"Anim=0", L"FlashDrive=2", L"FlashDrive=1", L"Loop=", L"Loop=12"}));

  book.Set(&Options::Movie, L"E:\\\u043a\u043b\u0438\u043f.avi");  // kept as typed
  EXPECT_EQ(o.Movie, L"E:\\\u043a\u043b\u0438\u043f.avi") << "in use at once";
  EXPECT_FALSE(store.Has(L"Movie"));
  book.Save(&Options::Movie);
  EXPECT_EQ(store[L"Movie"], L"E:\\\u043a\u043b\u0438\u043f.avi");
}

TEST_F(OptionsTest, TheCornerIsTheStoredTextExactlyOne) {
  EXPECT_TRUE(book.StoredAnimRight()) << "absent: the default";
  for (const wchar_t* other : {L"0", L"", L" 1", L"01", L"2"}) {
    store[L"AnimRight"] = other;
    EXPECT_FALSE(book.StoredAnimRight()) << std::wstring(other).size();
  }
  store[L"AnimRight"] = L"1";
  EXPECT_TRUE(book.StoredAnimRight());
}

TEST(ParseCheckValue, AcceptsOnlyZeroOneAndTwo) {
  EXPECT_EQ(settings::ParseCheckValue(L" 2 "), 2);
  EXPECT_EQ(settings::ParseCheckValue(L"+1"), 1);
  EXPECT_EQ(settings::ParseCheckValue(L"-0"), 0);
  for (const wchar_t* bad : {L"", L" ", L"3", L"-1", L"1.0", L"1x", L"0x1", L"99999999999999999999",
                             L"\u0661"})
    EXPECT_FALSE(settings::ParseCheckValue(bad).has_value()) << "value: " << std::wstring(bad).size();
}

}  // namespace
