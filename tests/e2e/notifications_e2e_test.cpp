// The real postlark.exe hearing the new Outlook through Windows' toast list:
// under Wine the list is the stand-in DLL, built to the published
// interfaces and registered for these tests only.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/notifications.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"

using namespace testing_support;

namespace {

constexpr wchar_t kNewOutlook[] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe!Microsoft.OutlookforWindows";

std::int64_t Now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return static_cast<std::int64_t>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

class NotificationsE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    SetOption(L"Eject", L"1");  // each alert shows in the program's trace
    platform = std::make_unique<StandInNotifications>();
    if (platform->WindowsOwn()) GTEST_SKIP() << "Windows has the toast list itself";
    ASSERT_TRUE(platform->Registered());
  }
  static int Alerts(const PostlarkProcess& p) { return p.Traced("door open"); }
  std::unique_ptr<StandInNotifications> platform;
  std::vector<StandInToast> toasts;
};

TEST_F(NotificationsE2E, ANewOutlookToastAlertsOnceAndOnlyIt) {
  toasts.push_back({1, kNewOutlook, Now() - 3600LL * 10'000'000});  // waiting since before the start
  platform->SetToasts(toasts);
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  toasts.push_back({2, L"Contoso.Chat_abc!App", Now()});
  platform->SetToasts(toasts);
  PumpFor(3000);
  EXPECT_EQ(Alerts(postlark), 0) << "a toast from before the start, or another app's, alerted";
  EXPECT_GE(platform->Reads(), 2u) << "the list was not read";

  toasts.push_back({3, kNewOutlook, Now()});
  platform->SetToasts(toasts);
  ASSERT_TRUE(PumpUntil([&] { return Alerts(postlark) == 1; }, kCheckDeadlineMs)) << "no alert";
  // One during the alert's pause alerts after it, and nothing twice.
  toasts.push_back({4, kNewOutlook, Now()});
  platform->SetToasts(toasts);
  PumpFor(10000);
  EXPECT_EQ(Alerts(postlark), 1);
  EXPECT_TRUE(PumpUntil([&] { return Alerts(postlark) == 2; }, 8000)) << "the toast in the pause was lost";
  PumpFor(2000);
  EXPECT_EQ(Alerts(postlark), 2);
}

TEST_F(NotificationsE2E, WithAccessDeniedEverythingElseGoesOnAndNothingIsRead) {
  platform->SetAccess(StandInAccess::Denied);
  toasts.push_back({1, kNewOutlook, Now() + 10'000'000});
  platform->SetToasts(toasts);
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs)) << "the envelope waits on the toasts";
  PumpFor(2000);
  EXPECT_EQ(Alerts(postlark), 1) << "the envelope's alert, and no other";
  EXPECT_EQ(platform->Reads(), 0u);
  EXPECT_EQ(platform->AccessRequests(), 0u) << "Windows was asked though the user had decided";
}

// The platform stops answering: the read is given up at its deadline (30 s),
// the window answers throughout, and mail is heard once the platform answers
// again.
TEST_F(NotificationsE2E, AReadThatNeverCompletesIsGivenUpAndAToastAfterTheListRecoversAlerts) {
  platform->SetReadHangs(true);
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, kCheckDeadlineMs));
  ASSERT_TRUE(PumpUntil([&] { return platform->Cancels() >= 1; }, 40000)) << "the hung read was never given up";
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(postlark.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
  platform->SetReadHangs(false);
  toasts.push_back({2, kNewOutlook, Now()});
  platform->SetToasts(toasts);
  EXPECT_TRUE(PumpUntil([&] { return Alerts(postlark) == 2; }, 15000)) << "the toast after the list answered again";
}

}  // namespace
