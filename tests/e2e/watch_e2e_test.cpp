// The real postlark.exe watching a stand-in Outlook.
#include <gtest/gtest.h>

#include <string>

#include "app/options_layout.h"
#include "app/version.h"
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

class WatchE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    SetOption(L"Beep", L"1");
  }
};

TEST_F(WatchE2E, ExitButtonEndsTheProcessAtOnceAndTakesTheIconWithIt) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND tray = postlark.Tray();
  PostMessageW(postlark.Control(kExitButton), BM_CLICK, 0, 0);
  // Polled without pumping, to look the moment the process is gone: an icon
  // left behind (Wine tidies it away within milliseconds) shows only then.
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (postlark.Running() && GetTickCount64() < deadline) Sleep(1);
  ASSERT_FALSE(postlark.Running());
  EXPECT_FALSE(IconExists(tray, 1)) << "the icon outlived Postlark";
}

// The window at 100 and 200 percent: the system DPI is a per-user
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
  EXPECT_EQ(std::wstring(caption), L"Postlark v" + std::to_wstring(POSTLARK_VERSION_MAJOR) + L"." +
                                       std::to_wstring(POSTLARK_VERSION_MINOR));
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
  EXPECT_EQ(client.right, ui::TwipsToPixels(kOptionsWidth, dpi));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(kOptionsHeight, dpi));
  OptionsControls controls;
  for (const ui::ControlDesign& design : OptionsDesign(controls)) {
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
  EXPECT_EQ(focus.hwndFocus, postlark.Control(kFlashDriveBox));
  // Keyboard order: the tab order of the table, starting at the flash drive box.
  const int order[] = {kFlashDriveBox, kEjectBox, kBeepBox, kClipBox, kClipPathBox, kHideButton,
                       kExitButton, kClipRightBox, kMarkerBox, kMarkerPathBox, kLoopBox,
                       kBrowseClipButton, kBrowseMarkerButton};
  HWND at = postlark.Control(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    at = GetNextDlgTabItem(main, at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "tab stop " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Percent, LayoutAtDpi, ::testing::Values(96u, 192u));

}  // namespace
