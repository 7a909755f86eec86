// The real postlark.exe watching a stand-in Outlook.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/form1_layout.h"
#include "support/test_support.h"
#include "ui/twips.h"

using namespace testing_support;

namespace {

class WatchE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearOptions();
    SetOption(L"Beep", L"1");
  }
  void TearDown() override {
    if (HasFailure()) SaveScreenshot(TestFolder(L"screenshots") + L"\\" +
                                     std::wstring(L"watch_") + std::to_wstring(GetTickCount()) + L".bmp");
  }
};

TEST_F(WatchE2E, EnvelopeIsRemovedWithinTwoSecondsAnd1031SentOnce) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, 2000))
      << "envelope still there after 2 s";
  PumpUntil([&] { return outlook.NewMailMessages() > 0; }, 1000);
  EXPECT_EQ(outlook.NewMailMessages(), 1);
  EXPECT_LE(GetTickCount64() - start, 2000u);
  PumpFor(1500);
  EXPECT_EQ(outlook.NewMailMessages(), 1);
}

TEST_F(WatchE2E, AnEnvelopeDuringTheAlertWaitsForTheFifteenTicks) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, 3000));
  const ULONGLONG alertStart = GetTickCount64();
  ASSERT_TRUE(outlook.AddEnvelope());
  PumpFor(12000);
  EXPECT_TRUE(outlook.HasEnvelope()) << "checked during the alert";
  ASSERT_TRUE(PumpUntil([&] { return !outlook.HasEnvelope(); }, 8000));
  const ULONGLONG gap = GetTickCount64() - alertStart;
  EXPECT_GE(gap, 14000u);
  EXPECT_LE(gap, 19000u);
  PumpUntil([&] { return outlook.NewMailMessages() == 2; }, 1000);
  EXPECT_EQ(outlook.NewMailMessages(), 2);
}

TEST_F(WatchE2E, ExitButtonEndsTheProcessAtOnce) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  PostMessageW(postlark.Control(idCommand2), BM_CLICK, 0, 0);
  EXPECT_TRUE(postlark.WaitExit(5000));
}

TEST_F(WatchE2E, CloseBoxRemovesTheTrayIconAndEndsTheProgram) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND main = postlark.Main();
  ASSERT_TRUE(IconExists(main, 1));
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(postlark.WaitExit(5000));
  EXPECT_EQ(postlark.ExitCode(), 0u);
  EXPECT_FALSE(IconExists(main, 1));
}

// The window at 100, 150 and 200 percent: the system DPI is a per-user
// setting that the next process picks up.
class LayoutAtDpi : public WatchE2E, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    WatchE2E::SetUp();
    SetDpi(GetParam());
  }
  void TearDown() override {
    WatchE2E::TearDown();
    SetDpi(96);
  }
  static void SetDpi(UINT dpi) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    const DWORD value = dpi;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
};

TEST_P(LayoutAtDpi, MainWindowIsLaidOutFromTwips) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND main = postlark.Main();
  wchar_t caption[64];
  GetWindowTextW(main, caption, 64);
  EXPECT_STREQ(caption, L"Postlark v1.2");
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT window;
  GetWindowRect(main, &window);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);

  // The test itself started at 96: the DPI is the one Postlark started with.
  const UINT dpi = GetParam();
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(kForm1Width, dpi));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(kForm1Height, dpi));
  EXPECT_LT(client.right, 514) << "a pointer move must not look like a tray click";
  for (const ui::ControlDesign& design : Form1Controls()) {
    if (design.kind == ui::Kind::Line) continue;
    HWND control = postlark.Control(design.id);
    ASSERT_NE(control, nullptr) << "control " << design.id;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, ui::TwipsToPixels(design.a, dpi)) << "control " << design.id;
    EXPECT_EQ(r.top, ui::TwipsToPixels(design.b, dpi)) << "control " << design.id;
    EXPECT_EQ(r.right - r.left, ui::TwipsToPixels(design.c, dpi)) << "control " << design.id;
    EXPECT_EQ(r.bottom - r.top, ui::TwipsToPixels(design.d, dpi)) << "control " << design.id;
    if (design.caption && design.kind != ui::Kind::TextBox) {
      EXPECT_EQ(postlark.Text(design.id), design.caption) << "control " << design.id;
    }
  }
  // Keyboard order: the tab order of the table, starting at chkFlashDrive.
  const int order[] = {idChkFlashDrive, idChkEject, idChkBeep, idChkAnim, idTxtMovie, idCommand1,
                       idCommand2, idChkAnimRight, idChkFileDetect, idTxtFileDetect, idTxtLoop,
                       idCmdBrowseAnimation, idCmdBrowseDetect};
  HWND at = postlark.Control(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    at = GetNextDlgTabItem(main, at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "tab stop " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Percent, LayoutAtDpi, ::testing::Values(96u, 144u, 192u));

}  // namespace
