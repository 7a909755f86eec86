// The envelope probe against real windows and real notification icons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/paths.h"
#include "support/pump.h"
#include "support/stand_in.h"
#include "watch/envelope_probe.h"

using namespace testing_support;

namespace {

class ProbeOnTheDesktop : public ::testing::Test {
 protected:
  void SetUp() override { Module1::gbMailArrived = base::kFalse; }
};

TEST_F(ProbeOnTheDesktop, RemovesARealEnvelopeAndSends1031Once) {
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(outlook.HasEnvelope());
  EXPECT_TRUE(Module1::CheckOutlookTray());
  EXPECT_EQ(Module1::gbMailArrived, base::kTrue);
  EXPECT_FALSE(outlook.HasEnvelope());
  EXPECT_EQ(outlook.NewMailMessages(), 1);

  Module1::gbMailArrived = base::kFalse;
  EXPECT_FALSE(Module1::CheckOutlookTray()) << "no envelope, no mail";
  EXPECT_EQ(outlook.NewMailMessages(), 1);
}

TEST_F(ProbeOnTheDesktop, ATitledOutlookWindowIsNoCandidate) {
  StandInOutlook outlook(L"Inbox - Outlook");
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_FALSE(Module1::CheckOutlookTray());
  EXPECT_TRUE(outlook.HasEnvelope());
}

TEST_F(ProbeOnTheDesktop, RealLabelsOfLongTitlesAndClasses) {
  const std::wstring huge(40000, L'T');
  HWND w = CreateWindowExW(0, L"STATIC", huge.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Module1::GetWindowLabel(watch::RealDesktop(), w), std::string(40000, 'T'));
  EXPECT_FALSE(Module1::CheckOutlookTray()) << "a huge title matches nothing";
  SetWindowTextW(w, L"");
  EXPECT_EQ(Module1::GetWindowLabel(watch::RealDesktop(), w), "Static");
  DestroyWindow(w);
}

TEST_F(ProbeOnTheDesktop, ADifferentlyCasedTitleIsNoCandidate) {
  StandInOutlook outlook(L"RCTRL_RENWND32");
  ASSERT_TRUE(outlook.AddEnvelope());
  EXPECT_FALSE(Module1::CheckOutlookTray());
  EXPECT_TRUE(outlook.HasEnvelope());
  SetWindowTextW(outlook.hwnd(), L"rctrl_renwnd32");  // titled exactly so: a candidate
  EXPECT_TRUE(Module1::CheckOutlookTray());
  EXPECT_FALSE(outlook.HasEnvelope());
}

// Class names keep the spelling of their first registration on the desktop,
// so the differently cased class lives in a process of its own.
TEST_F(ProbeOnTheDesktop, ADifferentlyCasedClassIsNoCandidate) {
  StandInProcess other(L"--class RCTRL_RENWND32");
  ASSERT_NE(other.hwnd(), nullptr);
  ASSERT_TRUE(IconExists(other.hwnd(), 0));
  char cls[64] = {};
  GetClassNameA(other.hwnd(), cls, 64);
  if (std::string(cls) != "RCTRL_RENWND32") GTEST_SKIP() << "the desktop already knows the class as " << cls;
  EXPECT_FALSE(Module1::CheckOutlookTray());
  EXPECT_TRUE(IconExists(other.hwnd(), 0));
}

}  // namespace
