// The real postlark.exe watching for a marker file instead of the envelope,
// and the drive alerts seen from outside.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <type_traits>
#include <string>

#include "app/form1_layout.h"
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
    const bool parked = PumpUntil([&] { return ParkedLeft(p.Anim()); }, 8000);
    if (!parked) std::fprintf(stderr, "start-up clip at %ld, not parked left\n", WindowRect(p.Anim()).left);
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
  HWND box = postlark.Control(idTxtFileDetect);
  ASSERT_TRUE(postlark.Focus(idTxtFileDetect)) << "could not put the focus into the marker box";
  Type(box, half);
  ASSERT_TRUE(PumpUntil([&] { return postlark.Text(idTxtFileDetect) == half; }, 3000));
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
  ASSERT_TRUE(postlark.FocusIsIn(idTxtFileDetect)) << "the focus did not come back to the box";
  Type(box, L".flag");
  ASSERT_TRUE(PumpUntil([&] { return postlark.Text(idTxtFileDetect) == whole; }, 3000));
  ASSERT_TRUE(MakeFile(whole));
  PumpFor(2000);
  EXPECT_TRUE(Exists(whole)) << "looked for while the box had the focus";
  PressKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return !Exists(whole); }, 4000));
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
  EXPECT_TRUE(PumpUntil([&] { return !Exists(mine); }, 4000)) << "the marker beside the exe stayed";
  EXPECT_TRUE(Exists(theirs)) << "a file in the system folder was deleted";
  Remove(theirs);
}

// Copied as a path (in quotes) and pasted with blanks around it: used
// without them. A file over 64 KiB is never a marker; one of 64 KiB is.
TEST_F(MarkerE2E, AQuotedPathIsUsedAndALargeFileAtItIsNeverTheMarker) {
  SetOption(L"FileDetectName", L"  \"" + marker + L"\" ");
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  ASSERT_TRUE(MakeFile(marker, FILE_ATTRIBUTE_NORMAL, 64 * 1024 + 1));
  PumpFor(2500);
  EXPECT_TRUE(Exists(marker)) << "a file over 64 KiB was taken";
  EXPECT_FALSE(OnScreen(postlark.Anim())) << "and alerted";
  ASSERT_TRUE(MakeFile(marker, FILE_ATTRIBUTE_NORMAL, 64 * 1024));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(marker); }, 4000)) << "the path in quotes was not used";
  EXPECT_TRUE(PumpUntil([&] { return OnScreen(postlark.Anim()); }, 3000));
}

TEST_F(MarkerE2E, AMarkerItsWriterStillHoldsIsTakenOnceClosedWithOneAlert) {
  SetOption(L"Eject", L"1");  // each alert shows in the program's trace
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(Ready(postlark));
  const auto alerts = [&] { return postlark.Traced("door open"); };
  HANDLE writer = CreateFileW(marker.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  PumpFor(3000);
  EXPECT_TRUE(Exists(marker));
  EXPECT_EQ(alerts(), 0) << "alerted while its writer still held it";
  CloseHandle(writer);
  EXPECT_TRUE(PumpUntil([&] { return !Exists(marker); }, 4000));
  EXPECT_TRUE(PumpUntil([&] { return alerts() == 1; }, 3000));
}

}  // namespace
