// Which toasts are mail, and the source that reads them without waiting,
// against a scripted list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "watch/notifications.h"

namespace {

using watch::Toast;
using watch::ToastAccess;
using watch::ToastState;

constexpr wchar_t kOutlook[] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe!Microsoft.OutlookforWindows";
constexpr std::int64_t kStart = 133'000'000'000'000'000;  // a FILETIME
constexpr std::int64_t kSecond = 10'000'000;

TEST(MailApps, FamilyNamesMatchEveryAppOfThePackageAppIdsOnlyThemselves) {
  const std::wstring apps = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe; Contoso.Mail_abc!App;C:\\Mail\\mail.exe";
  EXPECT_TRUE(watch::IsMailApp(kOutlook, apps));
  EXPECT_TRUE(watch::IsMailApp(L"MICROSOFT.OUTLOOKFORWINDOWS_8WEKYB3D8BBWE!Other", apps)) << "letter case";
  EXPECT_TRUE(watch::IsMailApp(L"contoso.mail_abc!app", apps));
  EXPECT_FALSE(watch::IsMailApp(L"Contoso.Mail_abc!Calendar", apps)) << "another app of a package listed by app ID";
  EXPECT_TRUE(watch::IsMailApp(L"c:\\mail\\MAIL.EXE", apps)) << "a desktop program's whole app ID";
  EXPECT_FALSE(watch::IsMailApp(L"Microsoft.Office.OUTLOOK.EXE.15", apps)) << "classic Outlook: not listed";
  EXPECT_FALSE(watch::IsMailApp(L"Microsoft.OutlookForWindows_8wekyb3d8bbwe2!App", apps));
  EXPECT_FALSE(watch::IsMailApp(L"", apps));
  EXPECT_FALSE(watch::IsMailApp(kOutlook, L";;"));
}

TEST(ToastNews, NewIsAnUnseenIdOfAToastNoOlderThanTwoSecondsBeforeStart) {
  watch::ToastNews news(kStart);
  const std::wstring apps = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe";
  std::vector<Toast> list = {{1, kOutlook, kStart - 60 * kSecond}, {2, L"Contoso.Chat!App", kStart + kSecond}};
  list.push_back({3, kOutlook, kStart - 2 * kSecond - 1});
  EXPECT_FALSE(news.Read(list, apps)) << "waiting before start, or another app's";
  list.push_back({5, kOutlook, kStart - 2 * kSecond});
  EXPECT_TRUE(news.Read(list, apps)) << "created two seconds before start";
  EXPECT_FALSE(news.Read(list, apps)) << "seen";
  list = {{4, kOutlook, kStart + 9 * kSecond}};
  EXPECT_TRUE(news.Read(list, apps));
  EXPECT_FALSE(news.Read({}, apps));
  EXPECT_FALSE(news.Read(list, apps)) << "seen before a read that missed it";
  int again = 0;  // toast 4 stays listed beside thousands of others that come and go
  for (std::uint32_t id = 10; id < 10000; ++id)
    again += news.Read({list[0], {id, L"Contoso.Chat!App", kStart}}, apps);
  EXPECT_EQ(again, 0) << "a listed toast was forgotten";
}

class SourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.Found = [this] { ++found; };
  }
  bool Tick() {
    clock.Advance(1000);
    const int before = found;
    source.Look();
    return found > before;
  }
  testing_support::ToastScript script;
  testing_support::FakeTimers clock;
  testing_support::TestMailbox box;
  int found = 0;
  watch::ToastSource source{[this] { return std::make_unique<testing_support::FakeNotificationList>(script); },
                            box,
                            [] { return true; },
                            [] { return L"Microsoft.OutlookForWindows_8wekyb3d8bbwe"; },
                            [this] { return clock.Now(); },
                            kStart};
};

TEST_F(SourceTest, AToastIsTakenAtTheTickAfterItsReadAndNoReadStartsWhileOneIsUnderWay) {
  script.hold = true;
  EXPECT_FALSE(Tick());
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Tick());
  EXPECT_EQ(script.reads, 1) << "a second read while one was under way";
  EXPECT_EQ(source.Access(), ToastState::Allowed);
  script.hold = false;
  script.toasts = {{7, kOutlook, kStart + 5 * kSecond}};
  box.Deliver();
  EXPECT_EQ(found, 1) << "taken when its completion comes";
  EXPECT_FALSE(Tick());
  EXPECT_EQ(script.reads, 2);
  EXPECT_EQ(script.opens, 1) << "the class is loaded once";
  EXPECT_EQ(script.accessChecks, 1) << "Windows was asked for access while reads succeeded";

  // The user turns access off in Windows' settings: the next read fails.
  script.access = ToastAccess::Denied;
  script.readError = E_ACCESSDENIED;
  for (int s = 0; s < 5; ++s) Tick();
  EXPECT_EQ(source.Access(), ToastState::Denied);
}

TEST_F(SourceTest, AMissingClassOrAFailureIsTriedAgainAfterAPauseThatDoublesUpToFiveMinutes) {
  script.open = REGDB_E_CLASSNOTREG;
  std::vector<ULONGLONG> tries;
  for (int s = 0; s < 1200; ++s) {
    const int before = script.opens;
    Tick();
    if (script.opens != before) tries.push_back(clock.Now() / 1000);
  }
  EXPECT_EQ(source.Access(), ToastState::Missing);
  EXPECT_EQ(tries, (std::vector<ULONGLONG>{1, 3, 7, 15, 31, 63, 127, 255, 511, 811, 1111}));
  script.open = S_OK;
  script.readError = E_FAIL;
  clock.Advance(300'000);
  Tick();
  EXPECT_EQ(script.reads, 1);
  Tick();
  Tick();
  EXPECT_EQ(script.reads, 1) << "a failed read is not tried again at once";
}

TEST_F(SourceTest, AccessIsAskedForOnceAndARefusalReadsNothing) {
  script.access = ToastAccess::Unspecified;
  script.requestResult = ToastAccess::Denied;
  for (int s = 0; s < 600; ++s) Tick();
  EXPECT_EQ(script.requests, 1) << "asked more than once a run";
  EXPECT_EQ(script.reads, 0);
  EXPECT_EQ(source.Access(), ToastState::Denied);
  // The user opens Windows' settings from the menu and allows it: heard at
  // once, not after the pause.
  source.AskAgainSoon();
  script.access = ToastAccess::Allowed;
  Tick();
  EXPECT_GT(script.reads, 0);
  EXPECT_EQ(source.Access(), ToastState::Allowed);
}

}  // namespace
