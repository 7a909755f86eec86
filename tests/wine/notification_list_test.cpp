// The notification list through the Windows Runtime, as Wine activates it:
// the class missing, then the stand-in platform DLL registered in its place,
// which declares the platform's interfaces itself, so that a mistake in
// Postlark's own shows here as a disagreement.
#include <gtest/gtest.h>

#include <vector>

#include "support/notifications.h"
#include "support/paths.h"
#include "watch/notification_list.h"

using namespace testing_support;
using watch::Toast;
using watch::ToastAccess;

namespace {

constexpr DWORD kDeadlineMs = 10000;

TEST(NotificationList, WithoutTheClassOpenSaysItIsNotRegistered) {
  auto list = watch::MakeWinRtNotificationList();
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Open(), REGDB_E_CLASSNOTREG);
  std::vector<Toast> toasts;
  EXPECT_TRUE(FAILED(list->Read(&toasts, nullptr, kDeadlineMs)));
}

class StandInList : public ::testing::Test {
 protected:
  void SetUp() override {
    if (platform.WindowsOwn()) GTEST_SKIP() << "Windows has the toast list itself";
    ASSERT_TRUE(platform.Registered()) << Narrow(StandInNotificationsDll());
    ASSERT_EQ(list->Open(), S_OK);
  }
  StandInNotifications platform;
  std::unique_ptr<watch::NotificationList> list = watch::MakeWinRtNotificationList();
};

TEST_F(StandInList, ReadsEachToastsIdTimeAndAppAndAToastThatCannotBeReadCostsOnlyItself) {
  platform.SetAccess(StandInAccess::Denied);
  ToastAccess access = ToastAccess::Allowed;
  EXPECT_EQ(list->GetAccessStatus(&access), S_OK);
  EXPECT_EQ(access, ToastAccess::Denied);
  std::vector<Toast> read;
  EXPECT_EQ(list->Read(&read, nullptr, kDeadlineMs), E_ACCESSDENIED) << "read without access";

  platform.SetAccess(StandInAccess::Allowed);
  platform.SetToasts({{7, L"Contoso.Mail_8wekyb3d8bbwe!App", 133485408000000000},
                      {8, L"Contoso.Chat_8wekyb3d8bbwe!App", 2, {}, {}, kFailsId},
                      {4294967295u, L"", 1},
                      {9, L"Contoso.Mail_8wekyb3d8bbwe!App", 3, {}, {}, kFailsCreationTime},
                      {10, L"Contoso.Mail_8wekyb3d8bbwe!App", 4, {}, {}, kFailsAppUserModelId}});
  ASSERT_EQ(list->Read(&read, nullptr, kDeadlineMs), S_OK);
  ASSERT_EQ(read.size(), 4u) << "a toast without an Id is left out, and only it";
  EXPECT_EQ(read[0].id, 7u);
  EXPECT_EQ(read[0].app, L"Contoso.Mail_8wekyb3d8bbwe!App");
  EXPECT_EQ(read[0].created, 133485408000000000);
  EXPECT_TRUE(read[0].whole);
  EXPECT_EQ(read[1].id, 4294967295u);
  EXPECT_EQ(read[1].app, L"") << "a toast of no app";
  EXPECT_TRUE(read[1].whole);
  EXPECT_FALSE(read[2].whole) << "its time could not be read";
  EXPECT_FALSE(read[3].whole) << "its app could not be read";
}

TEST_F(StandInList, ACallThatDoesNotAnswerIsCancelledAtItsDeadlineAndTheNextOneReads) {
  platform.SetReadHangs(true);
  std::vector<Toast> read;
  const ULONGLONG started = GetTickCount64();
  EXPECT_EQ(list->Read(&read, nullptr, 300), watch::kTimedOut);
  EXPECT_GE(GetTickCount64() - started, 250u);
  EXPECT_EQ(platform.Cancels(), 1u) << "given up without a cancel";
  platform.SetReadHangs(false);
  platform.SetToasts({{1, L"Contoso.Mail_8wekyb3d8bbwe!App", 5}});
  ASSERT_EQ(list->Read(&read, nullptr, kDeadlineMs), S_OK);
  EXPECT_EQ(read.size(), 1u);

  platform.SetRequestHangs(true);
  ToastAccess access = ToastAccess::Unspecified;
  EXPECT_EQ(list->RequestAccess(&access, nullptr, 300), watch::kTimedOut);
}

TEST_F(StandInList, AGrantedRequestChangesTheStatus) {
  platform.SetAccess(StandInAccess::Unspecified);
  platform.SetRequestResult(StandInAccess::Allowed);
  ToastAccess access = ToastAccess::Denied;
  ASSERT_EQ(list->RequestAccess(&access, nullptr, kDeadlineMs), S_OK);
  EXPECT_EQ(access, ToastAccess::Allowed);
  access = ToastAccess::Denied;
  EXPECT_EQ(list->GetAccessStatus(&access), S_OK);
  EXPECT_EQ(access, ToastAccess::Allowed);
  EXPECT_EQ(platform.AccessRequests(), 1u);
}

}  // namespace
