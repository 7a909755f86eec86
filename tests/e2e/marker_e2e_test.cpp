// The real postlark.exe watching for a marker file instead of the envelope.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <type_traits>
#include <string>

#include "app/options_layout.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/pump.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stand_in.h"

using namespace testing_support;
using namespace app;

namespace {

class MarkerE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    folder = TestFolder(L"marker_e2e");
    marker = folder + L"\\NewMail.flag";
    Remove(marker);
    SetOption(L"FileDetect", L"1");
    SetOption(L"FileDetectName", marker);
    // The alert shows as the clip coming on screen.
    SetOption(L"Anim", L"1");
    SetOption(L"Movie", TestFolder(L"") + L"short.avi");
  }
  // Started, with the start-up clip parked and its hide sequence over, so
  // that it cannot park the clip of the alert under test.
  static bool Ready(PostlarkProcess& p) {
    if (!p.Started()) return false;
    const bool parked = PumpUntil([&] { return ParkedLeft(p.Clip()); }, 8000);
    if (!parked) std::fprintf(stderr, "start-up clip at %ld, not parked left\n", WindowRect(p.Clip()).left);
    return parked;
  }
  std::wstring folder, marker;
};

// Switching to another program takes the focus from the path box too: a
// half-typed path is neither saved nor looked for until the user leaves the
// box for another control of the window.
TEST_F(MarkerE2E, AHalfTypedPathIsNeitherSavedNorLookedForWhenAnotherProgramTakesTheFocus) {
  SetOption(L"FileDetectName", L"");
  const std::wstring half = folder + L"\\report", whole = half + L".flag";
  Remove(half);
  Remove(whole);
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  HWND box = postlark.Control(kMarkerPathBox);
  ASSERT_TRUE(postlark.Focus(kMarkerPathBox)) << "could not put the focus into the marker box";
  Type(box, half);
  ASSERT_TRUE(PumpUntil([&] { return postlark.Text(kMarkerPathBox) == half; }, 3000));
  ASSERT_TRUE(MakeFile(half));

  const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> otherProgram(
      CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                      nullptr, nullptr, nullptr, nullptr),
      &DestroyWindow);
  HWND other = otherProgram.get();
  SetForegroundWindow(other);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 3000));
  PumpFor(2500);
  EXPECT_TRUE(Exists(half)) << "a half-typed path was looked for";
  EXPECT_EQ(GetOption(L"FileDetectName"), L"") << "a half-typed path was saved";

  // Back in the box, the rest typed, and on to the next control.
  SetForegroundWindow(postlark.Main());
  ASSERT_TRUE(postlark.FocusIsIn(kMarkerPathBox)) << "the focus did not come back to the box";
  Type(box, L".flag");
  ASSERT_TRUE(PumpUntil([&] { return postlark.Text(kMarkerPathBox) == whole; }, 3000));
  ASSERT_TRUE(MakeFile(whole));
  PumpFor(2000);
  EXPECT_TRUE(Exists(whole)) << "looked for while the box had the focus";
  PressKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return !Exists(whole); }, kCheckDeadlineMs));
  EXPECT_EQ(GetOption(L"FileDetectName"), whole);
  EXPECT_TRUE(Exists(half));
  Remove(half);
}

// Windows starts programs from the Run key in its system folder: a relative
// marker path still names the file beside postlark.exe.
TEST_F(MarkerE2E, ARelativeMarkerPathIsBesideTheExeWhateverTheStartFolder) {
  const std::wstring beside = TestFolder(L"logon");
  const ExeCopy exe(beside + L"\\postlark.exe");
  ASSERT_TRUE(exe.made);
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring mine = beside + L"\\new.flag", theirs = std::wstring(system) + L"\\new.flag";
  SetOption(L"FileDetectName", L"new.flag");
  PostlarkProcess postlark(exe.path, false, system);
  ASSERT_TRUE(Ready(postlark));
  ASSERT_TRUE(MakeFile(theirs));
  ASSERT_TRUE(MakeFile(mine));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(mine); }, kCheckDeadlineMs)) << "the marker beside the exe stayed";
  EXPECT_TRUE(Exists(theirs)) << "a file in the system folder was deleted";
  Remove(theirs);
}

}  // namespace
