// Which toasts are mail, and the source that reads them on a thread of its
// own, against a scripted list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "support/pump.h"
#include "watch/notifications.h"

namespace {

using watch::Toast;
using watch::ToastAccess;
using watch::ToastState;

constexpr wchar_t kOutlook[] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe!Microsoft.OutlookforWindows";
constexpr wchar_t kOutlookFamily[] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe";
constexpr std::int64_t kStart = 133'000'000'000'000'000;  // a FILETIME
constexpr std::int64_t kSecond = 10'000'000;

TEST(MailApps, FamilyNamesMatchEveryAppOfThePackageAppIdsOnlyThemselvesAsAUserWritesThem) {
  const watch::MailApps apps(
      L"Microsoft.OutlookForWindows_8wekyb3d8bbwe;\t Contoso.Mail_abc!App ;C:\\Mail\\mail.exe;;\u00c9crit.Mail_x;");
  EXPECT_TRUE(apps.Match(kOutlook));
  EXPECT_TRUE(apps.Match(L"MICROSOFT.OUTLOOKFORWINDOWS_8WEKYB3D8BBWE!Other")) << "letter case";
  EXPECT_TRUE(apps.Match(L"contoso.mail_abc!app")) << "blanks and tabs around an entry";
  EXPECT_FALSE(apps.Match(L"Contoso.Mail_abc!Calendar")) << "another app of a package listed by app ID";
  EXPECT_TRUE(apps.Match(L"c:\\mail\\MAIL.EXE")) << "a desktop program's whole app ID";
  EXPECT_TRUE(apps.Match(L"\u00e9CRIT.MAIL_X!App")) << "letter case beyond ASCII";
  EXPECT_FALSE(apps.Match(L"Microsoft.Office.OUTLOOK.EXE.15")) << "classic Outlook: not listed";
  EXPECT_FALSE(apps.Match(L"Microsoft.OutlookForWindows_8wekyb3d8bbwe2!App"));
  EXPECT_FALSE(apps.Match(L"")) << "a toast without an app, after an empty entry";
  EXPECT_FALSE(watch::MailApps(L";;").Match(kOutlook));
}

TEST(MailApps, TheMenusChoiceAddsAnAppsEntryOrTakesOutEveryEntryThatNamesItKeepingTheRest) {
  const std::wstring written = L"  Contoso.Mail_abc ; C:\\Mail\\mail.exe;Fabrikam.Post_x!App";
  // Packaged: the family, every app of the package; a desktop program: its whole ID.
  EXPECT_EQ(watch::WithApp(written, kOutlook, true), written + L";Microsoft.OutlookForWindows_8wekyb3d8bbwe");
  EXPECT_EQ(watch::WithApp(L"", L"D:\\Tools\\tb.exe", true), L"D:\\Tools\\tb.exe");
  EXPECT_EQ(watch::WithApp(L"A_x;", L"B_y!App", true), L"A_x;B_y");
  EXPECT_EQ(watch::WithApp(written, L"CONTOSO.MAIL_ABC!Calendar", true), written) << "already mail: unchanged";
  EXPECT_EQ(watch::WithApp(written, L"contoso.mail_abc!App", false), L" C:\\Mail\\mail.exe;Fabrikam.Post_x!App");
  EXPECT_EQ(watch::WithApp(written, L"c:\\mail\\MAIL.EXE", false), L"  Contoso.Mail_abc ;Fabrikam.Post_x!App");
  EXPECT_EQ(watch::WithApp(written, L"Fabrikam.Post_x!App", false), L"  Contoso.Mail_abc ; C:\\Mail\\mail.exe");
  EXPECT_EQ(watch::WithApp(L"A_x;A_x!App;B_y", L"A_x!App", false), L"B_y") << "every entry that names it";
  EXPECT_EQ(watch::AppEntries(written),
            (std::vector<std::wstring>{L"Contoso.Mail_abc", L"C:\\Mail\\mail.exe", L"Fabrikam.Post_x!App"}));
}

TEST(ToastNews, WhatTheFirstReadListsWasThereAfterItAnUnseenToastIsNewWhateverItsTime) {
  watch::ToastNews news(kStart);
  const auto mail = [](std::uint32_t id, std::int64_t created) { return Toast{id, created, kOutlook, L"Outlook (new)", true, true}; };
  // Waiting before the start, or arrived while access was being asked for.
  EXPECT_FALSE(news.Read({mail(1, kStart - 60 * kSecond), mail(3, kStart - 2 * kSecond - 1)}));
  const Toast* first = news.Read({mail(1, kStart - 60 * kSecond), mail(4, kStart + 9 * kSecond)});
  ASSERT_NE(first, nullptr) << "the first read: only the time could say";
  EXPECT_EQ(first->id, 4u);
  watch::ToastNews later(kStart);
  EXPECT_TRUE(later.Read({mail(2, kStart + kSecond)})) << "arrived between the start and the first read";
  // The clock was set back: a new toast looks older than the start.
  EXPECT_TRUE(news.Read({mail(5, kStart - 3600 * kSecond)}));
  EXPECT_FALSE(news.Read({mail(5, kStart - 3600 * kSecond)})) << "seen";
  EXPECT_TRUE(news.Read({mail(5, kStart + 60 * kSecond)})) << "a reused Id is another toast";
  Toast torn = mail(6, kStart + 60 * kSecond);
  torn.whole = false;
  torn.mail = false;  // the reader never calls a toast it could not read mail
  EXPECT_FALSE(news.Read({torn}));
  EXPECT_FALSE(news.Read({}));
  EXPECT_FALSE(news.Read({mail(4, kStart + 9 * kSecond)})) << "seen before a read that missed it";
  int again = 0;  // toast 4 stays listed beside thousands of others that come and go
  for (std::uint32_t id = 10; id < 10000; ++id)
    again += nullptr != news.Read({mail(4, kStart + 9 * kSecond), {id, kStart, L"Contoso.Chat!App", L"Chat", true, false}});
  EXPECT_EQ(again, 0) << "a listed toast was forgotten";
}

// The source on its reader's thread, against a scripted list, in simulated
// time; answers are delivered as the window would, once woken.
class SourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.Found = [this] { ++found; };
  }
  // One tick; true when an answer came (within `wait` ms) and found mail.
  bool Tick(DWORD wait = 2000) {
    clock.Advance(1000);
    const int before = found, wakes = box.wakes;
    source.Look();
    if (testing_support::PumpUntil([&] { return box.wakes > wakes; }, wait)) box.Deliver();
    return found > before;
  }
  static std::unique_ptr<watch::NotificationList> Make(testing_support::ToastScript& s) {
    return std::make_unique<testing_support::FakeNotificationList>(s);
  }
  testing_support::ToastScript script;
  testing_support::FakeTimers clock;
  testing_support::TestMailbox box;
  int found = 0;
  watch::ToastSource source{[this] { return Make(script); },
                            box,
                            [] { return true; },
                            [] { return kOutlookFamily; },
                            [this] { return clock.Now(); },
                            kStart,
                            100};
};

TEST_F(SourceTest, AReadThatNeverAnswersIsGivenUpAndMailAfterTheListAnswersAgainAlerts) {
  script.SetToasts({{1, kStart - 60 * kSecond, kOutlook}});
  EXPECT_FALSE(Tick());
  EXPECT_EQ(source.Access(), ToastState::Allowed);
  script.hold = true;  // the platform stops answering
  Tick();
  EXPECT_EQ(source.State().deaf, watch::Deafness::NotAnswering) << "given up at its deadline";
  EXPECT_EQ(source.State().since, 2000u) << "the read that did not answer began at 2 s";
  const int reads = script.reads;
  Tick(50);
  EXPECT_EQ(script.reads, reads) << "asked again before the pause";
  script.hold = false;
  script.SetToasts({{1, kStart - 60 * kSecond, kOutlook}, {2, kStart - 3600 * kSecond, kOutlook}});
  clock.Advance(2000);
  EXPECT_TRUE(Tick()) << "a toast that came while the list did not answer";
  EXPECT_TRUE(source.State().Hearing());
  EXPECT_EQ(script.accessChecks, 2) << "access asked again after the failure, and only then";
}

TEST_F(SourceTest, AReaderHeldByThePlatformIsGivenUpWithItsThreadAndANewOneReads) {
  script.holdAccess = true;  // the access check itself never returns
  Tick(50);
  for (int s = 0; s < 5; ++s) Tick(0);
  EXPECT_TRUE(source.State().Hearing()) << "not hearing before the deadline";
  clock.Advance(6000);
  Tick(0);  // 100 ms and 5 s of grace are long past
  EXPECT_EQ(source.State().deaf, watch::Deafness::NotAnswering);
  script.holdAccess = false;
  script.SetToasts({{7, kStart + kSecond, kOutlook}});
  clock.Advance(2000);
  EXPECT_TRUE(Tick());
  EXPECT_EQ(script.opens, 2) << "the list was not made anew";
  EXPECT_TRUE(source.State().Hearing());
}

TEST_F(SourceTest, AccessIsAskedForOnceAGrantReadsAtOnceAndARefusalReadsNothing) {
  script.access = ToastAccess::Unspecified;
  script.requestResult = ToastAccess::Allowed;
  script.SetToasts({{7, kStart + kSecond, kOutlook}});
  Tick();
  EXPECT_EQ(script.reads, 0);
  EXPECT_TRUE(Tick()) << "the grant read at the next tick";
  EXPECT_EQ(script.accessChecks, 1) << "the status asked again after the request's own answer";
  EXPECT_EQ(source.MailFrom(), L"new Outlook");

  watch::ToastSource refused([this] { return Make(script); }, box, [] { return true; }, [] { return L""; },
                             [this] { return clock.Now(); }, kStart, 100);
  script.access = ToastAccess::Unspecified;
  script.requestResult = ToastAccess::Denied;
  const int reads = script.reads;
  for (int s = 0; s < 20; ++s) {
    clock.Advance(30000);
    const int wakes = box.wakes;
    refused.Look();
    if (testing_support::PumpUntil([&] { return box.wakes > wakes; }, 1000)) box.Deliver();
  }
  EXPECT_EQ(script.requests, 2) << "asked more than once a run";
  EXPECT_EQ(script.reads, reads);
  EXPECT_EQ(refused.State().deaf, watch::Deafness::Refused);
}

TEST_F(SourceTest, AMissingClassIsTriedAgainAfterAPauseThatDoublesUpToFiveMinutes) {
  script.open = REGDB_E_CLASSNOTREG;
  const auto lookAt = [&](ULONGLONG seconds, DWORD wait) {
    clock.Advance(seconds * 1000 - clock.Now());
    const int opens = script.opens, wakes = box.wakes;
    source.Look();
    if (testing_support::PumpUntil([&] { return box.wakes > wakes; }, wait)) box.Deliver();
    return script.opens != opens;
  };
  std::vector<ULONGLONG> tries;
  for (const ULONGLONG at : {1, 3, 7, 15, 31, 63, 127, 255, 511, 811, 1111}) {
    if (at > 1 && lookAt(at - 1, 30)) tries.push_back(at - 1);  // early
    if (lookAt(at, 2000)) tries.push_back(at);
  }
  EXPECT_EQ(source.State().deaf, watch::Deafness::Missing);
  EXPECT_EQ(tries, (std::vector<ULONGLONG>{1, 3, 7, 15, 31, 63, 127, 255, 511, 811, 1111}));
}

}  // namespace
