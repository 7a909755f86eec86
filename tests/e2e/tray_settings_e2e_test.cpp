// The real postlark.exe in the notification area, with its stored options and
// its Open dialogs, driven from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

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

class TraySettingsE2E : public ScreenshotOnFailure {
 protected:
  void SetUp() override {
    ClearOptions();
    SetCursorPos(5, 1000);  // away from where a pointer move could look like 514
  }
  static bool Checked(const PostlarkProcess& p, int id) {
    return SendMessageW(p.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static std::wstring FileNameBox(HWND dialog) {
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, 0x47c, text, MAX_PATH);
    return text;
  }
  static HWND FindOpenDialog(DWORD pid) { return FindWindowOf(pid, L"#32770"); }
};

TEST_F(TraySettingsE2E, MinimiseHidesTheIconBringsTheWindowBackAndComesBackWithTheShell) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  HWND main = postlark.Main();
  ASSERT_TRUE(IsWindowVisible(main));
  PostMessageW(postlark.Control(kHideButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 3000)) << "OK (minimise) hides";
  EXPECT_TRUE(IconExists(postlark.Tray(), 1));

  PostMessageW(postlark.Tray(), WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);  // press alone does nothing
  PumpFor(500);
  EXPECT_FALSE(IsWindowVisible(main));
  PostMessageW(postlark.Tray(), WM_MOUSEMOVE, 1, WM_LBUTTONUP);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 3000));

  ShowWindow(main, SW_MINIMIZE);  // minimised by other means: hidden too
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 3000));
  PostMessageW(postlark.Tray(), WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 3000));

  // A restarting shell loses the icon and says so: it comes back.
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = postlark.Tray();
  nid.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
  PostMessageW(postlark.Tray(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return IconExists(postlark.Tray(), 1); }, 3000));
}

TEST_F(TraySettingsE2E, OptionsAreWrittenByTheirControlsAndSurviveARestart) {
  {
    PostlarkProcess postlark;
    ASSERT_TRUE(postlark.Started());
    EXPECT_FALSE(GetOption(L"Anim").has_value()) << "nothing written at first start";
    SendMessageW(postlark.Control(kEjectBox), BM_CLICK, 0, 0);
    EXPECT_EQ(GetOption(L"Eject"), L"1");

    HWND loop = postlark.Control(kLoopBox);
    SendMessageW(loop, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(GetOption(L"Loop"), L"");
    Type(loop, L"12");
    EXPECT_TRUE(PumpUntil([] { return GetOption(L"Loop") == L"12"; }, 3000))
        << "Loop is " << (GetOption(L"Loop") ? "set" : "absent");

    HWND movie = postlark.Control(kClipPathBox);
    ASSERT_TRUE(postlark.Focus(kClipPathBox));
    SendMessageW(movie, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\\u0444\u0438\u043b\u044c\u043c.avi"));
    EXPECT_FALSE(GetOption(L"Movie").has_value()) << "a path box saves on losing the focus";
    // The close box ends Postlark, with the path still in its box: saved
    // all the same, and the icon gone with it.
    HWND tray = postlark.Tray();
    PostMessageW(postlark.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(postlark.WaitExit(10000));
    EXPECT_EQ(postlark.ExitCode(), 0u);
    EXPECT_FALSE(IconExists(tray, 1));
    EXPECT_EQ(GetOption(L"Movie"), L"D:\\\u0444\u0438\u043b\u044c\u043c.avi");
  }
  PostlarkProcess again;
  ASSERT_TRUE(again.Started());
  EXPECT_TRUE(Checked(again, kEjectBox));
  EXPECT_EQ(again.Text(kLoopBox), L"12");
  EXPECT_EQ(again.Text(kClipPathBox), L"D:\\\u0444\u0438\u043b\u044c\u043c.avi");
}

TEST_F(TraySettingsE2E, OpenDialogPresetsTheNameAndCancelChangesNothing) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  PostMessageW(postlark.Control(kBrowseClipButton), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (dialog = FindOpenDialog(postlark.Pid())) != nullptr; }, 5000));
  // The file-name box is filled while the dialog initialises.
  std::wstring preset;
  PumpUntil([&] { return !(preset = FileNameBox(dialog)).empty(); }, 3000);
  EXPECT_EQ(preset, L"mail.avi") << "preset of length " << preset.size();
  // The timers go on while the dialog is open: the status line still blinks.
  const std::wstring before = postlark.Text(kStatusLabel);
  EXPECT_TRUE(PumpUntil([&] { return postlark.Text(kStatusLabel) != before; }, 3000));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 5000));
  EXPECT_EQ(postlark.Text(kClipPathBox), L"mail.avi");
  EXPECT_FALSE(GetOption(L"Movie").has_value());

  PostMessageW(postlark.Control(kBrowseMarkerButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return (dialog = FindOpenDialog(postlark.Pid())) != nullptr; }, 5000));
  PumpFor(500);
  EXPECT_EQ(FileNameBox(dialog), L"");
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 5000));
  EXPECT_EQ(postlark.Text(kMarkerPathBox), L"");
}

TEST_F(TraySettingsE2E, ASecondStartBringsTheRunningOneBackAndExits) {
  PostlarkProcess first;
  ASSERT_TRUE(first.Started());
  HWND main = first.Main();
  PostMessageW(first.Control(kHideButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 3000));
  PostlarkProcess second;
  EXPECT_TRUE(second.WaitExit(8000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main); }, 3000));
  EXPECT_TRUE(IsWindow(main));
}

// A copy that holds the single-instance object where this one may not open
// it (started elevated, say): no second watcher starts.
TEST_F(TraySettingsE2E, ACopyThatCannotOpenTheSingleInstanceObjectDoesNotStart) {
  PSECURITY_DESCRIPTOR denyAll = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1,
                                                                   &denyAll, nullptr));
  SECURITY_ATTRIBUTES sa{sizeof sa, denyAll, FALSE};
  const base::UniqueHandle held(CreateMutexW(&sa, FALSE, L"Local\\Postlark.SingleInstance"));
  LocalFree(denyAll);
  ASSERT_TRUE(held);
  ChildProcess second(PostlarkExe(), L"");
  bool watching = false;
  EXPECT_TRUE(PumpUntil(
      [&] {
        watching = watching || FindWindowOf(second.Pid(), L"PostlarkMain");
        return !second.Running();
      },
      25000));
  EXPECT_FALSE(watching) << "a second copy started watching";
}

// A Postlark that is ending (a hung drive can hold a process) has no window
// to answer: the next start waits for it to let go, then starts.
TEST_F(TraySettingsE2E, AStartThatFindsTheObjectHeldWithoutAnAnswerStartsOnceItIsLetGo) {
  base::UniqueHandle held(CreateMutexW(nullptr, FALSE, L"Local\\Postlark.SingleInstance"));
  ASSERT_TRUE(held);
  ChildProcess next(PostlarkExe(), L"");
  PumpFor(6000);  // past the five seconds it looks for a window to answer
  EXPECT_TRUE(next.Running()) << "ended without waiting";
  EXPECT_EQ(FindWindowOf(next.Pid(), L"PostlarkMain"), nullptr) << "started while the object was held";
  held.Reset();
  EXPECT_TRUE(PumpUntil([&] { return FindWindowOf(next.Pid(), L"PostlarkMain") != nullptr; }, 8000));
}

}  // namespace
