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
  EXPECT_TRUE(o.beep && o.clipTopRight && o.quietWhilePresenting && o.watchNotifications);
  EXPECT_FALSE(o.flashDrive || o.eject || o.clip || o.marker);
  EXPECT_EQ(o.notifyApps, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe") << "the new Outlook, and only it";
  EXPECT_EQ(o.clipPath, L"mail.avi") << "Postlark's own clip, beside postlark.exe";
  EXPECT_EQ(o.plays, 1);
  EXPECT_EQ(book.Shown(&Options::plays), L"1");
  EXPECT_EQ(o.markerPath, L"");
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(OptionsTest, StoredValuesLoadAsTheyReadWithoutAWriteAndTheViewHearsOfEach) {
  store[L"Beep"] = L"0";
  store[L"Anim"] = L" +1 ";
  store[L"FlashDrive"] = L"2";  // greyed: off
  store[L"Eject"] = L"7";       // values from outside: the default
  store[L"AnimRight"] = L"";
  store[L"FileDetect"] = L"-1";
  store[L"Loop"] = L"2.5";
  store[L"Movie"] = L"D:\\clips\\ring.avi";
  store[L"FileDetectName"] = std::wstring(40000, L'm');  // cut to the longest path
  int changes = 0;
  book.Changed = [&](settings::Field) { ++changes; };
  book.LoadSettings();
  EXPECT_FALSE(o.beep);
  EXPECT_TRUE(o.clip);
  EXPECT_FALSE(o.flashDrive);
  EXPECT_FALSE(o.eject);
  EXPECT_TRUE(o.clipTopRight);
  EXPECT_FALSE(o.marker);
  EXPECT_EQ(o.plays, 2);
  EXPECT_EQ(book.Shown(&Options::plays), L"2.5") << "the loop box shows what was stored";
  EXPECT_EQ(o.clipPath, L"D:\\clips\\ring.avi");
  EXPECT_EQ(o.markerPath.size(), 32767u);
  EXPECT_EQ(changes, static_cast<int>(settings::OptionTable().size()));
  EXPECT_TRUE(store.writes.empty()) << "a stored value was written back";
}

TEST_F(OptionsTest, AnAppListLongerThanAnyOtherValueIsOfNoUseAndAFailedWriteIsSaid) {
  store[L"NotifyApps"] = std::wstring(40000, L'a');
  store[L"Movie"] = std::wstring(40000, L'm');
  book.LoadSettings();
  EXPECT_EQ(o.notifyApps, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe") << "over 64 KiB: the default";
  EXPECT_EQ(o.clipPath.size(), 32767u) << "a path is cut";
  std::vector<DWORD> failures;
  book.SaveFailed = [&](DWORD error) { failures.push_back(error); };
  store.refusal = ERROR_ACCESS_DENIED;
  book.Toggle(&Options::eject);
  EXPECT_TRUE(o.eject) << "the user's choice holds";
  EXPECT_EQ(failures, std::vector<DWORD>{ERROR_ACCESS_DENIED});
  EXPECT_EQ(book.Stored(&Options::eject), L"0") << "not stored";
}

TEST_F(OptionsTest, EachFieldSavesByItsOwnRule) {
  book.Toggle(&Options::clip);
  book.Toggle(&Options::clip);
  book.Set(&Options::flashDrive, false);  // no change: nothing
  book.Set(&Options::plays, L"");
  book.Set(&Options::plays, L"12");
  book.Set(&Options::plays, L"12");
  EXPECT_EQ(store.writes, (Keys{L"Anim=1", L"Anim=0", L"Loop=", L"Loop=12"}));
  EXPECT_EQ(o.plays, 12);

  book.Set(&Options::clipPath, L"E:\\\u043a\u043b\u0438\u043f.avi");  // kept as typed
  EXPECT_EQ(o.clipPath, L"E:\\\u043a\u043b\u0438\u043f.avi") << "in use at once";
  EXPECT_FALSE(store.Has(L"Movie"));
  book.Save(&Options::clipPath);
  EXPECT_EQ(store[L"Movie"], L"E:\\\u043a\u043b\u0438\u043f.avi");
}

TEST(ParseOptions, ACheckBoxIsOnOnlyForOneAndTheLoopCountIsAWholeNumberFromOneOrOnce) {
  for (const wchar_t* on : {L"1", L" 1 ", L"+1", L"01"}) EXPECT_TRUE(settings::ParseFlag(on, false)) << std::wstring(on).size();
  for (const wchar_t* off : {L"0", L"2", L"-0", L" 2\t"}) EXPECT_FALSE(settings::ParseFlag(off, true)) << std::wstring(off).size();
  for (const wchar_t* bad : {L"", L" ", L"3", L"-1", L"1.0", L"1x", L"0x1", L"99999999999999999999", L"\u0661"}) {
    EXPECT_TRUE(settings::ParseFlag(bad, true)) << "value of length " << std::wstring(bad).size();
    EXPECT_FALSE(settings::ParseFlag(bad, false));
  }
  const std::pair<const wchar_t*, int> loops[] = {
      {L"12", 12}, {L" 3 ", 3}, {L"2.5", 2}, {L"3.5", 4}, {L"2.51", 3}, {L"32767", 32767},
      {L"", 1}, {L"0", 1}, {L"-1", 1}, {L"0.4", 1}, {L"32768", 1}, {L"1e9", 1}, {L"&H10", 1},
      {L"3x", 1}, {L".", 1}, {L"\u0663", 1}, {L"99999999999999999999999999999999999999999", 1}};
  for (const auto& [text, plays] : loops)
    EXPECT_EQ(settings::ParsePlays(text), plays) << "text of length " << std::wstring(text).size();
}

}  // namespace
