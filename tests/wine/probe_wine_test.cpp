// The envelope probe against real windows and real notification icons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/test_support.h"
#include "watch/envelope_probe.h"

using namespace testing_support;

namespace {

class ProbeOnTheDesktop : public ::testing::Test {
 protected:
  void SetUp() override { Module1::gbMailArrived = vbFalse; }
};

TEST_F(ProbeOnTheDesktop, RemovesARealEnvelopeAndSends1031Once) {
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(outlook.HasEnvelope());
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbTrue);
  EXPECT_FALSE(outlook.HasEnvelope());
  EXPECT_EQ(outlook.NewMailMessages(), 1);

  Module1::gbMailArrived = vbFalse;
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbFalse) << "no envelope, no mail";
  EXPECT_EQ(outlook.NewMailMessages(), 1);
}

TEST_F(ProbeOnTheDesktop, ATitledOutlookWindowIsNoCandidate) {
  StandInOutlook outlook(L"Inbox - Outlook");
  ASSERT_TRUE(outlook.AddEnvelope());
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbFalse);
  EXPECT_TRUE(outlook.HasEnvelope());
}

TEST_F(ProbeOnTheDesktop, RealLabelsOfLongTitlesAndClasses) {
  const std::wstring huge(40000, L'T');
  HWND w = CreateWindowExW(0, L"STATIC", huge.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Module1::GetWindowLabel(RealDesktop(), w), std::string(40000, 'T'));
  SetWindowTextW(w, L"");
  EXPECT_EQ(Module1::GetWindowLabel(RealDesktop(), w), "Static");
  Module1::CheckOutlookTray();  // walks it without harm
  DestroyWindow(w);
}

TEST_F(ProbeOnTheDesktop, ADifferentlyCasedTitleIsNoCandidate) {
  StandInOutlook outlook(L"RCTRL_RENWND32");
  ASSERT_TRUE(outlook.AddEnvelope());
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbFalse);
  EXPECT_TRUE(outlook.HasEnvelope());
  SetWindowTextW(outlook.hwnd(), L"rctrl_renwnd32");  // titled exactly so: a candidate
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbTrue);
  EXPECT_FALSE(outlook.HasEnvelope());
}

// Class names keep the spelling of their first registration on the desktop,
// so the differently cased class lives in a process of its own.
TEST_F(ProbeOnTheDesktop, ADifferentlyCasedClassIsNoCandidate) {
  const std::wstring folder = TestFolder(L"probe_case");
  const std::wstring ready = folder + L"\\ready.txt";
  DeleteFileW(ready.c_str());
  const std::wstring standIn = StandInExe();
  std::wstring cmd = L"\"" + standIn + L"\" --class RCTRL_RENWND32 --envelope --ready \"" + ready + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(standIn.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi))
      << "stand-in at " << std::string(standIn.begin(), standIn.end());
  HWND other = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        FILE* f = _wfopen(ready.c_str(), L"r");
        if (!f) return false;
        unsigned long long h = 0;
        const bool ok = fscanf(f, "%llu", &h) == 1;
        fclose(f);
        other = reinterpret_cast<HWND>(static_cast<UINT_PTR>(h));
        return ok;
      },
      10000));
  ASSERT_TRUE(IconExists(other, 0));
  char cls[64] = {};
  GetClassNameA(other, cls, 64);
  if (std::string(cls) != "RCTRL_RENWND32") {
    TerminateProcess(pi.hProcess, 0);
    GTEST_SKIP() << "the desktop already knows the class as " << cls;
  }
  Module1::CheckOutlookTray();
  EXPECT_EQ(Module1::gbMailArrived, vbFalse);
  EXPECT_TRUE(IconExists(other, 0));
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

}  // namespace
