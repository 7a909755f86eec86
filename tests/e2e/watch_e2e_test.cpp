// The real postlark.exe watching a stand-in Outlook.
#include <gtest/gtest.h>

#include <string>

#include "app/form1_layout.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"
#include "ui/twips.h"

using namespace testing_support;
using namespace app;

namespace {

// The next check comes within a second; a loaded machine may take longer to
// deliver it, so waits have room beyond that.
constexpr DWORD kCheckDeadlineMs = 4000;

class WatchE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    SetOption(L"Beep", L"1");
  }
};

// Outlook hangs right after showing its envelope, or a program that copies
// its window class never answers: Postlark's own timers must go on.
TEST_F(WatchE2E, AHungOutlookNeverHangsPostlark) {
  SetOption(L"Eject", L"1");  // the alert shows in the program's trace
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(postlark.Started());
  StandInOutlook hung(L"--envelope --hang");
  ASSERT_NE(hung.hwnd(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return hung.NewMailMessages() == 1; }, kCheckDeadlineMs));
  EXPECT_FALSE(IconExists(hung.hwnd(), 0));
  // The status line blinks on: its timer runs. (Reading the label by a sent
  // message alone would prove nothing: a thread waiting in SendMessage still
  // answers those.)
  int changes = 0;
  std::wstring last = postlark.Text(idLblStatus);
  PumpUntil(
      [&] {
        const std::wstring now = postlark.Text(idLblStatus);
        if (now != last) ++changes, last = now;
        return changes >= 3;
      },
      8000);
  EXPECT_GE(changes, 3) << "the status line stopped blinking";
  // The door is told on the drive worker, at its own pace.
  EXPECT_TRUE(PumpUntil([&] { return postlark.Traced("door open") == 1; }, 5000)) << "the alert ran";
  // After the alert a healthy Outlook's envelope is still caught.
  StandInOutlook healthy;
  ASSERT_TRUE(healthy.AddEnvelope());
  EXPECT_TRUE(PumpUntil([&] { return healthy.NewMailMessages() == 1; }, 20000));
  EXPECT_FALSE(healthy.HasEnvelope());
}

TEST_F(WatchE2E, ExitButtonEndsTheProcessAtOnceAndTakesTheIconWithIt) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND main = postlark.Main();
  PostMessageW(postlark.Control(idCommand2), BM_CLICK, 0, 0);
  // Polled without pumping, to look the moment the process is gone: an icon
  // left behind (Wine tidies it away within milliseconds) shows only then.
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (postlark.Running() && GetTickCount64() < deadline) Sleep(1);
  ASSERT_FALSE(postlark.Running());
  EXPECT_FALSE(IconExists(main, 1)) << "the icon outlived Postlark";
}

// The window at 100, 150 and 200 percent: the system DPI is a per-user
// setting that the next process picks up.
class LayoutAtDpi : public WatchE2E, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    WatchE2E::SetUp();
    SetLogPixels(GetParam());
  }
  void TearDown() override {
    WatchE2E::TearDown();
    SetLogPixels(96);
  }
};

TEST_P(LayoutAtDpi, MainWindowIsLaidOutFromTwips) {
  SetOption(L"Movie", TestFolder(L"") + L"msvideo1.avi");  // the start-up clip, with its video window
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
  Form1Controls controls;
  for (const ui::ControlDesign& design : Form1Design(controls)) {
    HWND control = postlark.Control(design.id);
    ASSERT_NE(control, nullptr) << "control " << design.id;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, ui::TwipsToPixels(design.rect.left, dpi)) << "control " << design.id;
    EXPECT_EQ(r.top, ui::TwipsToPixels(design.rect.top, dpi)) << "control " << design.id;
    EXPECT_EQ(r.right - r.left, ui::TwipsToPixels(design.rect.width, dpi)) << "control " << design.id;
    EXPECT_EQ(r.bottom - r.top, ui::TwipsToPixels(design.rect.height, dpi)) << "control " << design.id;
    if (design.caption) {
      EXPECT_EQ(postlark.Text(design.id), design.caption) << "control " << design.id;
    }
  }
  // Start-up leaves the options window active with the focus on its first
  // control: the clip's window, out of sight, takes neither.
  EXPECT_EQ(GetForegroundWindow(), main);
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &focus));
  EXPECT_EQ(focus.hwndFocus, postlark.Control(idChkFlashDrive));
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
