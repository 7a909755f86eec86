// The tray icon: its record, its tip, and an icon the shell is not ready for.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "app/tray.h"
#include "app/tray_text.h"
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

// The wide record's changes, as the shell keeps them.
struct WideShell {
  std::wstring tip;
  HICON icon = nullptr;
  std::wstring balloon;
  app::TrayIcon::NotifyWide Fn() {
    return [this](DWORD m, NOTIFYICONDATAW& d) -> BOOL {
      if (m != NIM_MODIFY) return FALSE;
      if (d.uFlags & NIF_TIP) tip = d.szTip;
      if (d.uFlags & NIF_ICON) icon = d.hIcon;
      if (d.uFlags & NIF_INFO) balloon = d.szInfo;
      return TRUE;
    };
  }
};

TEST(TrayIcon, TheRecordCarriesThePaddedTipAndTheTipAndMarkComeBackWithTheShell) {
  LateShell shell;
  WideShell wide;
  HICON plain = LoadIconW(nullptr, IDI_APPLICATION);
  app::TrayIcon tray(shell.Fn(), wide.Fn());
  tray.Add(reinterpret_cast<HWND>(0x1234), plain);
  EXPECT_EQ(shell.last.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(std::memcmp(shell.last.szTip, "Postlark\0", 9), 0);
  for (size_t i = 9; i < sizeof shell.last.szTip; ++i) ASSERT_EQ(shell.last.szTip[i], ' ') << "byte " << i;
  tray.SetTip(L"Postlark: last mail at 9:41\nNot hearing the new Outlook: not answering since 9:40");
  tray.SetMarked(true);
  EXPECT_NE(wide.icon, plain);
  // The shell restarts and forgets the icon: it comes back as it was.
  wide = {};
  shell.iconThere = false;
  EXPECT_TRUE(tray.OnShellMessage(RegisterWindowMessageW(L"TaskbarCreated")));
  EXPECT_EQ(wide.tip, L"Postlark: last mail at 9:41\nNot hearing the new Outlook: not answering since 9:40");
  EXPECT_NE(wide.icon, nullptr);
  EXPECT_NE(wide.icon, plain) << "the mark was lost";
  tray.SetMarked(false);
  EXPECT_EQ(wide.icon, plain);
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

TEST(TrayText, TheTipSaysWhereTheLastMailCameFromWhetherPausedAndWhatIsNotHeardWithinItsHundredAndTwentySevenCharacters) {
  using watch::Deafness;
  EXPECT_EQ(app::NotHearingLine(L"new Outlook", {true, Deafness::Refused}, L""),
            L"Not hearing the new Outlook: Windows keeps notifications from programs");
  EXPECT_EQ(app::NotHearingLine(L"new Outlook", {true, Deafness::NotAnswering, 5}, L"10:42"),
            L"Not hearing the new Outlook: not answering since 10:42");
  EXPECT_EQ(app::NotHearingLine(L"marker file", {true, Deafness::Unreachable}, L""),
            L"Not hearing the marker file: its folder cannot be reached");
  EXPECT_EQ(app::NotHearingLine(L"new Outlook", {false}, L""), L"") << "off is not deaf";
  EXPECT_EQ(app::NotHearingLine(L"new Outlook", {true}, L""), L"");
  EXPECT_EQ(app::TrayTip({L"", L"", L""}), L"Postlark") << "nothing to say";
  EXPECT_EQ(app::TrayTip({app::LastMailLine(L"10:42", L"new Outlook"), app::PausedLine(L"11:30"), L""}),
            L"Last mail 10:42 (new Outlook)\nPaused until 11:30");
  EXPECT_EQ(app::TrayTip({L"", app::PausedLine(L""), L"x"}), L"Paused\nx");
  EXPECT_EQ(app::TrayTip({app::LastMailLine(std::wstring(80, L'x'), L"envelope"), std::wstring(80, L'y')}).size(), 127u);
  EXPECT_EQ(app::SaveFailedText(ERROR_ACCESS_DENIED).rfind(L"Postlark could not save its options: ", 0), 0u);
}

// The mark at the sizes the notification area asks for, from 100 to 200 percent.
TEST(TrayIcon, TheMarkIsDrawnOverTheIconAtEverySize) {
  HICON plain = LoadIconW(nullptr, IDI_APPLICATION);
  for (const int size : {16, 20, 24, 32}) {
    const RECT mark = app::MarkRect(size);
    EXPECT_GE(mark.right - mark.left, 6) << size;
    EXPECT_EQ(mark.right, size);
    const HICON marked = app::MarkedIcon(plain, size);
    ASSERT_NE(marked, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(marked, &info));
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof bmi.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(size) * size);
    const HDC dc = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(dc, info.hbmColor, 0, size, pixels.data(), &bmi, DIB_RGB_COLORS), size);
    ReleaseDC(nullptr, dc);
    const DWORD centre = pixels[static_cast<size_t>((mark.top + mark.bottom) / 2) * size + (mark.left + mark.right) / 2];
    EXPECT_EQ(centre & 0xffffff, 0xc81e1eu) << "the mark's red at " << size << " px";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(marked);
  }
}

}  // namespace
