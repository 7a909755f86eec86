// The tray icon's record and the decoding of its notifications.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "app/tray.h"

namespace {

using app::DecodeTrayNotification;
using app::IsPointerMove;
using app::TrayAction;

TEST(TrayIconRecord, HasTheFirstVersionLayoutAndPaddedTip) {
  watch::NotifyIconRecord record{};
  HWND hwnd = reinterpret_cast<HWND>(0x1234);
  HICON icon = reinterpret_cast<HICON>(0x5678);
  app::FillTrayIconData(record, hwnd, icon);
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(record.hWnd, hwnd);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 0x200u);
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(std::memcmp(record.szTip, "Postlark\0", 9), 0);
  for (size_t i = 9; i < sizeof record.szTip; ++i) ASSERT_EQ(record.szTip[i], ' ') << "byte " << i;
}

TEST(TrayNotification, ReleaseAndDoubleClickRestoreRightReleaseOpensTheMenu) {
  EXPECT_EQ(DecodeTrayNotification(514), TrayAction::Restore);
  EXPECT_EQ(DecodeTrayNotification(515), TrayAction::Restore);
  EXPECT_EQ(DecodeTrayNotification(517), TrayAction::Menu);
  for (long other : {0x200L, 0x201L, 0x204L, 0x206L, 0x207L, 0x208L, 0L, 516L, 518L})
    EXPECT_EQ(DecodeTrayNotification(other), TrayAction::None) << other;
}

TEST(TrayNotification, APointerMoveIsNeverTakenForANotification) {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 50, 800, 600, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  // The pointer really at client (514, 0): a move, at whatever DPI made the
  // window that wide.
  POINT screen{514, 0};
  ClientToScreen(hwnd, &screen);
  EXPECT_TRUE(IsPointerMove(hwnd, MAKELPARAM(514, 0), MAKELONG(screen.x, screen.y)));
  // The same message from the icon, with the pointer over the tray elsewhere.
  EXPECT_FALSE(IsPointerMove(hwnd, MAKELPARAM(514, 0), MAKELONG(1200, 1010)));
  DestroyWindow(hwnd);
}

}  // namespace

namespace {

// The shell as it is at logon: not ready for the first few adds.
struct LateShell {
  int refusals = 0;  // adds refused before the shell is ready
  bool iconThere = false;
  BOOL Notify(DWORD message, watch::NotifyIconRecord&) {
    switch (message) {
      case NIM_ADD:
        if (refusals > 0) return --refusals, FALSE;
        return iconThere = true;
      case NIM_MODIFY:
        return iconThere;
      case NIM_DELETE:
        return std::exchange(iconThere, false);
    }
    return FALSE;
  }
};

TEST(TrayIcon, AnAddTheShellRefusesIsTriedAgainUntilItTakesAndAgainAfterARestart) {
  LateShell shell;
  shell.refusals = 3;
  app::TrayIcon tray([&](DWORD m, watch::NotifyIconRecord& r) { return shell.Notify(m, r); });
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  for (int retry = 0; retry < 3; ++retry) {
    EXPECT_FALSE(tray.Shown());
    ASSERT_TRUE(tray.timRetry.Enabled()) << "no retry after failure " << retry + 1;
    tray.timRetry.Fire();
  }
  EXPECT_TRUE(tray.Shown());
  EXPECT_TRUE(shell.iconThere);
  EXPECT_FALSE(tray.timRetry.Enabled()) << "retrying an icon that is there";
  EXPECT_EQ(tray.TrayIconData.uID, 1u);

  // The shell restarts and forgets it.
  shell.iconThere = false;
  EXPECT_TRUE(tray.OnShellMessage(RegisterWindowMessageW(L"TaskbarCreated")));
  EXPECT_TRUE(shell.iconThere);
  tray.Delete();
  EXPECT_FALSE(shell.iconThere);
  EXPECT_FALSE(tray.timRetry.Enabled());
}

TEST(TrayIcon, ABusyShellThatRefusesTheAddButShowsTheIconIsNotAskedAgain) {
  std::vector<DWORD> calls;
  app::TrayIcon tray([&](DWORD m, watch::NotifyIconRecord&) -> BOOL {
    calls.push_back(m);
    return m == NIM_MODIFY;
  });
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  EXPECT_TRUE(tray.Shown());
  EXPECT_FALSE(tray.timRetry.Enabled());
  EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
}

}  // namespace

namespace {

TEST(LastMailTip, TheTimeAsTheUserWritesItWithinTheRecordsSixtyThreeCharacters) {
  EXPECT_EQ(app::LastMailTip(L"2:05 PM"), "Postlark: last mail at 2:05 PM");
  EXPECT_EQ(app::LastMailTip(L"14:05"), "Postlark: last mail at 14:05");
  // A format as long as a user may make it: cut to what the record holds.
  const std::string long_ = app::LastMailTip(std::wstring(80, L'x'));
  EXPECT_EQ(long_.size(), 63u);
  EXPECT_EQ(long_, "Postlark: last mail at " + std::string(40, 'x'));
  // Two-byte characters are never split at the cut.
  if (IsValidCodePage(932)) {
    const std::string japanese = app::LastMailTip(std::wstring(30, L'\u5348'), 932);
    EXPECT_EQ(japanese.size(), 23u + 40u);
    const std::string odd = app::LastMailTip(L"x" + std::wstring(30, L'\u5348'), 932);
    EXPECT_EQ(odd.size(), 23u + 1u + 38u) << "half a character at the end";
  }
  // The record carries it as the first tip did: the text, a NUL, blanks.
  app::TrayIcon tray([](DWORD, watch::NotifyIconRecord&) -> BOOL { return TRUE; });
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  tray.SetTip("Postlark: last mail at 9:41");
  EXPECT_STREQ(tray.TrayIconData.szTip, "Postlark: last mail at 9:41");
  EXPECT_EQ(tray.TrayIconData.szTip[63], ' ');
}

}  // namespace
