// Start-up: from CreateProcess until the main window is shown and the tray
// icon (uID 1 on the window that owns it) answers a NIM_MODIFY presence check, for
// postlark.exe and for minimal_tray.exe, interleaved, each run's process
// gone before the next starts (Postlark is single-instance).
//   startup_bench.exe [runs]     paths from POSTLARK_EXE or next to this exe
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options_window.h"
#include "app/single_instance.h"
#include "bench_stats.h"
#include "support/notifications.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/stand_in.h"

namespace {

using bench::NowMs;
using testing_support::Env;
using testing_support::IconExists;
using testing_support::WinPath;

std::wstring SiblingPath(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir = self;
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + name;
}

struct Find {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param) {
  auto& f = *reinterpret_cast<Find*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64];
  if (pid == f.pid && IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 64) &&
      lstrcmpiW(cls, f.cls) == 0) {
    f.found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct Run {
  double windowMs = -1;  // main window visible
  double readyMs = -1;   // and tray icon present
};

// cls: the window shown; tray: the class of the window the icon belongs to.
Run StartOnce(const std::wstring& exe, const wchar_t* cls, const wchar_t* tray) {
  Run r;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  const double t0 = NowMs();
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return r;
  HWND hwnd = nullptr, owner = nullptr;
  while (NowMs() - t0 < 15000) {
    if (!hwnd) {
      Find f{pi.dwProcessId, cls, nullptr};
      EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&f));
      if ((hwnd = f.found)) r.windowMs = NowMs() - t0;
    }
    if (!owner) owner = testing_support::FindWindowOf(pi.dwProcessId, tray);
    if (hwnd && owner && IconExists(owner, 1)) {
      r.readyMs = NowMs() - t0;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  // Close as a user would; kill only a process that does not go.
  if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return r;
}

}  // namespace

void Measure(const std::wstring& postlark, const std::wstring& minimal, int runs, const char* goal, double limit) {
  std::vector<double> pWin, pReady, mWin, mReady, ratios;
  int failures = 0;
  for (int i = 0; i < runs; ++i) {
    Run p, m;
    if (i % 2 == 0) {
      p = StartOnce(postlark, app::kOptionsWindowClass, app::kMessageWindowClass);
      m = StartOnce(minimal, L"BenchMinimalTray", L"BenchMinimalTray");
    } else {
      m = StartOnce(minimal, L"BenchMinimalTray", L"BenchMinimalTray");
      p = StartOnce(postlark, app::kOptionsWindowClass, app::kMessageWindowClass);
    }
    if (p.readyMs < 0 || m.readyMs < 0) {
      ++failures;
      continue;
    }
    pWin.push_back(p.windowMs);
    pReady.push_back(p.readyMs);
    mWin.push_back(m.windowMs);
    mReady.push_back(m.readyMs);
    ratios.push_back(p.readyMs / m.readyMs);
  }
  bench::PrintHeader();
  bench::PrintRow("postlark.exe: window shown", bench::Summarize(pWin), 1, "ms");
  bench::PrintRow("postlark.exe: window + icon", bench::Summarize(pReady), 1, "ms");
  bench::PrintRow("minimal_tray.exe: window shown", bench::Summarize(mWin), 1, "ms");
  bench::PrintRow("minimal_tray.exe: window + icon", bench::Summarize(mReady), 1, "ms");
  bench::PrintRow("paired ratio postlark/minimal", bench::Summarize(ratios), 1, "x");
  if (failures) std::printf("  NOTE: %d run pairs failed (no window or icon within 15 s)\n", failures);
  const double ratio = bench::Summarize(pReady).median / bench::Summarize(mReady).median;
  std::printf("  ratio of medians %.3f\n", ratio);
  bench::PrintGoal(goal, ratio, true, limit, "x");
}

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 12;
  std::wstring postlark = WinPath(Env(L"POSTLARK_EXE"));
  if (postlark.empty()) postlark = SiblingPath(L"..\\postlark.exe");
  const std::wstring minimal = SiblingPath(L"minimal_tray.exe");
  // Stored options would change what start-up does: start from none.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Postlark");

  std::printf("== Start-up: CreateProcess -> main window shown and tray icon uID 1 present\n"
              "   %d runs each after one unmeasured warm-up each, interleaved; times in ms\n",
              runs);
  bench::Flush();
  StartOnce(postlark, app::kOptionsWindowClass, app::kMessageWindowClass);
  StartOnce(minimal, L"BenchMinimalTray", L"BenchMinimalTray");

  Measure(postlark, minimal, runs, "start-up ratio postlark/minimal", 1.5);
  // The toast list is read from the first tick on, after the window and the
  // icon: with a list registered, start-up should be no slower.
  testing_support::StandInNotifications toasts;
  if (!toasts.Registered()) {
    std::printf("  NOTE: the stand-in toast list could not be registered\n");
    return 0;
  }
  std::printf("\n   with the stand-in toast list registered\n");
  Measure(postlark, minimal, runs, "start-up ratio, toast list registered", 1.3);
  return 0;
}
