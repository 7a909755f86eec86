// The tray icon: its record, its tip, and an icon the shell is not ready for.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "app/tray.h"
#include "support/fakes.h"

namespace {

// The shell as it is at logon: not ready for the first few adds. It keeps
// the last record it was given.
struct LateShell {
  int refusals = 0;  // adds refused before the shell is ready
  bool iconThere = false;
  std::vector<DWORD> calls;
  watch::NotifyIconRecord last{};
  BOOL Notify(DWORD message, watch::NotifyIconRecord& record) {
    calls.push_back(message);
    last = record;
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
  app::TrayIcon::Notify Fn() {
    return [this](DWORD m, watch::NotifyIconRecord& r) { return Notify(m, r); };
  }
};

TEST(TrayIcon, TheRecordCarriesThePaddedTipAndTheLastMailTimeLater) {
  LateShell shell;
  app::TrayIcon tray(shell.Fn());
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  EXPECT_EQ(shell.last.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(std::memcmp(shell.last.szTip, "Postlark\0", 9), 0);
  for (size_t i = 9; i < sizeof shell.last.szTip; ++i) ASSERT_EQ(shell.last.szTip[i], ' ') << "byte " << i;
  tray.SetTip("Postlark: last mail at 9:41");
  EXPECT_EQ(shell.calls.back(), static_cast<DWORD>(NIM_MODIFY));
  EXPECT_STREQ(shell.last.szTip, "Postlark: last mail at 9:41");
  EXPECT_EQ(shell.last.szTip[63], ' ');
}

TEST(TrayIcon, AnAddTheShellRefusesIsTriedAgainUntilItTakesAndAgainAfterARestart) {
  LateShell shell;
  shell.refusals = 3;
  testing_support::FakeTimers clock;
  app::TrayIcon tray(shell.Fn());
  tray.HostTimers(clock);
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  clock.Advance(5999);
  EXPECT_FALSE(shell.iconThere);
  clock.Advance(1);
  EXPECT_TRUE(shell.iconThere) << "tried every two seconds";
  const size_t calls = shell.calls.size();
  clock.Advance(10000);
  EXPECT_EQ(shell.calls.size(), calls) << "retrying an icon that is there";

  // The shell restarts and forgets it.
  shell.iconThere = false;
  EXPECT_TRUE(tray.OnShellMessage(RegisterWindowMessageW(L"TaskbarCreated")));
  EXPECT_TRUE(shell.iconThere);
  tray.Delete();
  EXPECT_FALSE(shell.iconThere);
  EXPECT_EQ(shell.last.uID, 1u) << "the icon deleted is the one added";
}

TEST(TrayIcon, ABusyShellThatRefusesTheAddButShowsTheIconIsNotAskedAgain) {
  std::vector<DWORD> calls;
  testing_support::FakeTimers clock;
  app::TrayIcon tray([&](DWORD m, watch::NotifyIconRecord&) -> BOOL {
    calls.push_back(m);
    return m == NIM_MODIFY;
  });
  tray.HostTimers(clock);
  tray.Add(reinterpret_cast<HWND>(0x1234), nullptr);
  clock.Advance(10000);
  EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
}

TEST(LastMailTip, TheTimeAsTheUserWritesItWithinTheRecordsSixtyThreeCharacters) {
  EXPECT_EQ(app::LastMailTip(L"2:05 PM"), "Postlark: last mail at 2:05 PM");
  // A format as long as a user may make it: cut to what the record holds.
  EXPECT_EQ(app::LastMailTip(std::wstring(80, L'x')), "Postlark: last mail at " + std::string(40, 'x'));
  // Two-byte characters are never split at the cut.
  if (IsValidCodePage(932)) {
    EXPECT_EQ(app::LastMailTip(std::wstring(30, L'\u5348'), 932).size(), 23u + 40u);
    EXPECT_EQ(app::LastMailTip(L"x" + std::wstring(30, L'\u5348'), 932).size(), 23u + 1u + 38u)
        << "half a character at the end";
  }
}

}  // namespace
