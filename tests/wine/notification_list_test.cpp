// The notification list through the Windows Runtime, as Wine activates it:
// the class missing, then the stand-in platform DLL registered in its place.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "support/notifications.h"
#include "support/paths.h"
#include "support/pump.h"
#include "watch/notification_list.h"

using namespace testing_support;
using watch::CallState;
using watch::Toast;
using watch::ToastAccess;

namespace {

constexpr DWORD kDeadlineMs = 10000;

bool WaitFor(const std::atomic<int>& calls) {
  return PumpUntil([&] { return calls > 0; }, kDeadlineMs);
}

TEST(NotificationList, WithoutTheClassOpenSaysItIsNotRegistered) {
  auto list = watch::MakeWinRtNotificationList();
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Open(), REGDB_E_CLASSNOTREG);
  EXPECT_TRUE(FAILED(list->StartRead([] {})));
  HRESULT error = S_OK;
  EXPECT_EQ(list->PollRead(nullptr, &error), CallState::Failed);
}

TEST(NotificationList, ReadsTheToastsAndTheAccessTheListenerReports) {
  StandInNotifications platform;
  if (platform.WindowsOwn()) GTEST_SKIP() << "Windows has the toast list itself";
  ASSERT_TRUE(platform.Registered()) << Narrow(StandInNotificationsDll());
  platform.SetAccess(ToastAccess::Denied);
  const std::vector<Toast> set = {{7, L"Contoso.Mail_8wekyb3d8bbwe!App", 133485408000000000}, {4294967295u, L"", 1}};
  platform.SetToasts(set);
  auto list = watch::MakeWinRtNotificationList();
  ASSERT_EQ(list->Open(), S_OK);
  ToastAccess access = ToastAccess::Allowed;
  EXPECT_EQ(list->GetAccessStatus(&access), S_OK);
  EXPECT_EQ(access, ToastAccess::Denied);

  std::atomic<int> calls{0};
  ASSERT_EQ(list->StartRead([&] { ++calls; }), S_OK);
  ASSERT_TRUE(WaitFor(calls));
  std::vector<Toast> read;
  HRESULT error = E_FAIL;
  ASSERT_EQ(list->PollRead(&read, &error), CallState::Completed);
  EXPECT_EQ(error, S_OK);
  ASSERT_EQ(read.size(), set.size());
  for (size_t i = 0; i < set.size(); ++i) {
    EXPECT_EQ(read[i].id, set[i].id) << i;
    EXPECT_EQ(read[i].appUserModelId, set[i].appUserModelId) << i;
    EXPECT_EQ(read[i].created, set[i].created) << i;
  }
  EXPECT_EQ(platform.Reads(), 1u);
  EXPECT_EQ(calls, 1);

  platform.SetReadFails(E_ACCESSDENIED);
  std::atomic<int> failed{0};
  ASSERT_EQ(list->StartRead([&] { ++failed; }), S_OK);
  ASSERT_TRUE(WaitFor(failed));
  EXPECT_EQ(list->PollRead(&read, &error), CallState::Failed);
  EXPECT_EQ(error, E_ACCESSDENIED);
  EXPECT_EQ(platform.Reads(), 2u);
}

TEST(NotificationList, AccessIsRequestedOnThePlatformsOwnThread) {
  StandInNotifications platform;
  if (platform.WindowsOwn()) GTEST_SKIP() << "Windows has the toast list itself";
  ASSERT_TRUE(platform.Registered());
  platform.SetRequestResult(ToastAccess::Denied);
  auto list = watch::MakeWinRtNotificationList();
  ASSERT_EQ(list->Open(), S_OK);
  std::atomic<int> requested{0};
  ASSERT_EQ(list->StartRequestAccess([&] { ++requested; }), S_OK);
  ASSERT_TRUE(WaitFor(requested));
  ToastAccess access = ToastAccess::Allowed;
  HRESULT error = E_FAIL;
  EXPECT_EQ(list->PollRequestAccess(&access, &error), CallState::Completed);
  EXPECT_EQ(access, ToastAccess::Denied);
  EXPECT_EQ(error, S_OK);
  EXPECT_EQ(platform.AccessRequests(), 1u);
}

}  // namespace
