// The envelope probe against real windows and real notification icons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/scoped.h"

#include "support/paths.h"
#include "support/pump.h"
#include "support/stand_in.h"
#include "watch/envelope_probe.h"

using namespace testing_support;

namespace {

TEST(ProbeOnTheDesktop, RemovesARealEnvelopeAndSends1031Once) {
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(outlook.HasEnvelope());
  EXPECT_TRUE(watch::TakeEnvelope());
  EXPECT_FALSE(outlook.HasEnvelope());
  EXPECT_EQ(outlook.NewMailMessages(), 1);
  EXPECT_FALSE(watch::TakeEnvelope()) << "no envelope, no mail";
  EXPECT_EQ(outlook.NewMailMessages(), 1);
}

// An Outlook that has not answered for five seconds is known to be hung:
// the probe does not wait on it, and sends it nothing it would find when it
// wakes.
DWORD WINAPI Probe(void*) { return watch::TakeEnvelope() ? 1 : 0; }

TEST(ProbeOnTheDesktop, AWindowTheSystemKnowsIsHungIsSentNothing) {
  const std::wstring name = L"PostlarkWake" + std::to_wstring(GetCurrentProcessId());
  const base::UniqueHandle wake(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
  StandInOutlook hung(L"--envelope --asleep " + name);
  ASSERT_NE(hung.hwnd(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(hung.hwnd()); }, 8000));
  const base::UniqueHandle probe(CreateThread(nullptr, 0, Probe, nullptr, 0, nullptr));
  ASSERT_EQ(WaitForSingleObject(probe.get(), 5000), WAIT_OBJECT_0);
  // Woken after the probe: a message it had sent would be taken now.
  SetEvent(wake.get());
  DWORD found = 0;
  GetExitCodeThread(probe.get(), &found);
  EXPECT_EQ(found, 1u) << "its envelope was taken all the same";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(hung.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(hung.NewMailMessages(), 0) << "a window known to be hung was sent 1031";
}

}  // namespace
