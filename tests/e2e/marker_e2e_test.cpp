// The real postlark.exe watching for a marker file instead of the envelope,
// and the drive alerts seen from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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
    Clean(marker);
    SetOption(L"FileDetect", L"1");
    SetOption(L"FileDetectName", marker);
    // The alert shows as the clip coming on screen.
    SetOption(L"Anim", L"1");
    SetOption(L"Movie", TestFolder(L"") + L"short.avi");
  }
  static void Clean(const std::wstring& p) {
    SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(p.c_str());
    RemoveDirectoryW(p.c_str());
  }
  static void Make(const std::wstring& p, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  static bool Exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
  static bool OnScreen(HWND anim) {
    RECT r;
    GetWindowRect(anim, &r);
    return r.left >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN);
  }
  // Started, with the start-up clip parked and its hide sequence over, so
  // that it cannot park the clip of the alert under test.
  static bool Ready(PostlarkProcess& p) {
    if (!p.Started()) return false;
    RECT r{};
    const bool parked = PumpUntil(
        [&] {
          GetWindowRect(p.Anim(), &r);
          return r.right <= 0;
        },
        8000);
    if (!parked) std::fprintf(stderr, "start-up clip at %ld..%ld, not parked left\n", r.left, r.right);
    return parked;
  }
  static HWND FindOpenDialog(DWORD pid) {
    HWND dialog = FindWindowW(L"#32770", nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(dialog, &owner);
    return owner == pid ? dialog : nullptr;
  }
  std::wstring folder, marker;
};

TEST_F(MarkerE2E, MarkerIsDeletedAtTheNextCheckAndAlerts) {
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  Make(marker);
  // Checked once a second; the deadline leaves room for a loaded machine.
  ASSERT_TRUE(PumpUntil([&] { return !Exists(marker); }, 4000)) << "marker still there after 4 s";
  EXPECT_TRUE(PumpUntil([&] { return OnScreen(postlark.Anim()); }, 3000)) << "the alert ran";
}

TEST_F(MarkerE2E, OnlyAPlainFileOfExactlyThatNameIsTaken) {
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  const std::wstring otherCase = folder + L"\\newmail.FLAG";
  Make(otherCase);
  PumpFor(2500);
  EXPECT_TRUE(Exists(otherCase)) << "a name differing in case is not the marker";
  Clean(otherCase);

  CreateDirectoryW(marker.c_str(), nullptr);
  PumpFor(2500);
  EXPECT_TRUE(Exists(marker)) << "a folder is never deleted";
  Clean(marker);

  Make(marker, FILE_ATTRIBUTE_HIDDEN);
  PumpFor(2500);
  EXPECT_TRUE(Exists(marker)) << "a hidden file is never deleted";
  EXPECT_FALSE(OnScreen(postlark.Anim())) << "and none of them raised an alert";
  Clean(marker);
}

TEST_F(MarkerE2E, AReadOnlyMarkerAlertsOnceAndIsLeftAlone) {
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  HWND anim = postlark.Anim();
  Make(marker, FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(anim); }, 4000)) << "found, so it alerts";
  ASSERT_TRUE(PumpUntil([&] { return !OnScreen(anim); }, 8000));
  // The alert's 15 ticks, then several checks: no second alert.
  PumpFor(18000);
  EXPECT_FALSE(OnScreen(anim));
  EXPECT_TRUE(Exists(marker));
  Clean(marker);
}

TEST_F(MarkerE2E, TheEnvelopeIsLeftAloneWhileTheMarkerIsWatched) {
  PostlarkProcess postlark;
  ASSERT_TRUE(postlark.Started());
  StandInOutlook outlook;
  ASSERT_TRUE(outlook.AddEnvelope());
  PumpFor(3000);
  EXPECT_TRUE(outlook.HasEnvelope());
  EXPECT_EQ(outlook.NewMailMessages(), 0);
}

TEST_F(MarkerE2E, NoCheckWhileThePathIsBeingTyped) {
  PostlarkProcess postlark;
  ASSERT_TRUE(Ready(postlark));
  HWND main = postlark.Main();
  HWND box = postlark.Control(idTxtFileDetect);
  SetForegroundWindow(main);
  RECT r;
  GetWindowRect(box, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  ASSERT_TRUE(PumpUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus == box;
      },
      3000))
      << "could not put the focus into the marker box";
  Make(marker);
  PumpFor(2500);
  EXPECT_TRUE(Exists(marker)) << "checked while the user was typing";
  // Leaving the box: the next check takes the marker.
  INPUT tab[2] = {};
  tab[0].type = tab[1].type = INPUT_KEYBOARD;
  tab[0].ki.wVk = tab[1].ki.wVk = VK_TAB;
  tab[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, tab, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(marker); }, 4000));
}

// The Open dialog moves its own current folder as the user browses; a
// relative marker path still names the file in the folder Postlark started in.
TEST_F(MarkerE2E, ARelativeMarkerPathStaysInTheStartFolderAfterBrowsingElsewhere) {
  const std::wstring start = TestFolder(L"marker_start"), elsewhere = TestFolder(L"marker_browsed");
  const std::wstring here = start + L"\\new.flag", there = elsewhere + L"\\new.flag";
  Clean(here);
  Clean(there);
  SetOption(L"FileDetectName", L"new.flag");
  PostlarkProcess postlark(PostlarkExe(), false, start);
  ASSERT_TRUE(Ready(postlark));
  PostMessageW(postlark.Control(idCmdBrowseDetect), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (dialog = FindOpenDialog(postlark.Pid())) != nullptr; }, 5000));
  PumpFor(500);
  // Into the other folder, as a user would by typing it, then Cancel.
  SendMessageTimeoutW(GetDlgItem(dialog, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(elsewhere.c_str()),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  PumpFor(1000);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 5000));
  Make(there);
  Make(here);
  EXPECT_TRUE(PumpUntil([&] { return !Exists(here); }, 4000)) << "the marker in the start folder stayed";
  EXPECT_TRUE(Exists(there)) << "a file in the folder last browsed was deleted";
  Clean(there);
}

TEST_F(MarkerE2E, TheCdTrayIsToldOncePerAlert) {
  SetOption(L"Eject", L"1");
  PostlarkProcess postlark(PostlarkExe(), /*debug=*/true);
  ASSERT_TRUE(Ready(postlark));
  const auto opens = [&] {
    return std::count_if(postlark.DebugOutput().begin(), postlark.DebugOutput().end(),
                         [](const std::string& s) { return s.find("mci \"set cdaudio door open\"") != std::string::npos; });
  };
  EXPECT_EQ(opens(), 0);
  Make(marker);
  ASSERT_TRUE(PumpUntil([&] { return opens() == 1; }, 4000));
  PumpFor(2000);
  EXPECT_EQ(opens(), 1);
  for (const std::string& line : postlark.DebugOutput())
    EXPECT_EQ(line.find("door closed"), std::string::npos) << "the tray is never closed";
}

}  // namespace
