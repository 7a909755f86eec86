// The real postlark.exe showing a clip when mail arrives, looping it while
// the user is away, and hiding it when they come back.
#include <gtest/gtest.h>

#include <string>

#include "app/options_layout.h"
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

class AnimationE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    clip = TestFolder(L"") + L"msvideo1.avi";  // 160 x 120, 2 s
    ASSERT_TRUE(Exists(clip)) << "run tests/support/make_clips.sh first";
    SetOption(L"Anim", L"1");
    SetOption(L"Loop", L"1");
    SetOption(L"Movie", clip);
  }
  static int Screen() { return GetSystemMetrics(SM_CXSCREEN); }
  std::wstring clip;
};

TEST_F(AnimationE2E, StartUpPlaysOutOfSightAndMailBringsTheClipToTheCornerTheBoxSays) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND window = postlark.Clip();
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "not in the taskbar";
  EXPECT_TRUE(IsWindowVisible(window)) << "never hidden, only parked";
  EXPECT_EQ(WindowRect(window).left, Screen()) << "beyond the right edge while the start-up clip plays";
  ASSERT_TRUE(PumpUntil([&] { return ParkedLeft(window); }, 8000));
  EXPECT_NEAR(WindowRect(window).left, -160 - ui::TwipsToPixels(1000, ui::DpiFor(window)), 1);

  SetForegroundWindow(postlark.Main());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == postlark.Main(); }, 3000));
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(window); }, kCheckDeadlineMs));
  EXPECT_EQ(GetForegroundWindow(), postlark.Main()) << "the clip took the activation";
  const RECT r = WindowRect(window);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, Screen());
  EXPECT_EQ(r.right - r.left, 160) << "as wide as the clip";
  EXPECT_EQ(r.bottom - r.top, 120) << "the picture, without the player's strip";
  const ULONGLONG shown = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return ParkedLeft(window); }, 8000));
  EXPECT_GE(GetTickCount64() - shown, 1500u) << "not before the clip has played";

  // The corner is the box's: cleared, the top left.
  SendMessageW(postlark.Control(kClipRightBox), BM_CLICK, 0, 0);
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(window); }, 20000));
  EXPECT_EQ(WindowRect(window).left, 0);
  EXPECT_EQ(WindowRect(window).top, 0);
}

TEST_F(AnimationE2E, AwayTheClipLoopsUntilThePointerMoves) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND window = postlark.Clip();
  // Twelve idle seconds or more: the counter shows it from outside.
  const auto idleTicks = [&] {
    const std::wstring text = postlark.Text(kIdleLabel);
    return text.rfind(L"Idle (", 0) == 0 ? _wtoi(text.c_str() + 6) : -1;
  };
  ASSERT_TRUE(PumpUntil([&] { return idleTicks() >= 11; }, 20000)) << "idle count " << idleTicks();
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(window); }, kCheckDeadlineMs));
  PumpFor(7000);  // three and a half plays of the 2 s clip
  EXPECT_TRUE(OnScreen(window)) << "still looping while the user is away";

  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = 3;
  move.mi.dy = 3;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &move, sizeof move);
  // The next tick sees the user back: the counter empties for that second,
  // and a new spell counts from 0...
  EXPECT_TRUE(PumpUntil([&] { return idleTicks() < 3; }, 2500));
  // ...and the clip is parked two ticks later.
  EXPECT_TRUE(PumpUntil([&] { return ParkedLeft(window); }, kCheckDeadlineMs));
}

}  // namespace
