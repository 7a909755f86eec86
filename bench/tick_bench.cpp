// Cost of Postlark's two once-a-second ticks (the check tick with the real
// envelope probe, the idle tick with the real activity probe) against a plain
// loop doing the same Win32 work, with a crowd of extra top-level windows
// living in a helper process; then what a read of the toast list costs the
// window's thread, and the memory over many reads.
//   tick_bench.exe [window_crowd.exe]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "presence/idle_watch.h"
#include "presence/presenting.h"
#include "support/fakes.h"
#include "support/memory.h"
#include "support/notifications.h"
#include "ui/timer.h"
#include "watch/check_cycle.h"
#include "watch/envelope_probe.h"
#include "watch/notifications.h"
#include "watch/notify_icon_record.h"

namespace {

using bench::NowMs;

constexpr std::int64_t kTicksPerHour = 36'000'000'000;  // FILETIME units

// The floor of a toast read: the list is read on a thread of its own, so
// the tick only hands the work over.
struct FloorToasts {
  HANDLE work = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ~FloorToasts() { CloseHandle(work); }
  void Tick() { SetEvent(work); }
};

// The floor: the same calls, with nothing around them.
struct FloorState {
  char buffer[512];
  int windows = 0;
  int matches = 0;
  bool deleteOnMatch = false;
};

BOOL CALLBACK FloorVisit(HWND hwnd, LPARAM param) {
  auto& s = *reinterpret_cast<FloorState*>(param);
  ++s.windows;
  const int length = GetWindowTextLengthA(hwnd);
  if (length > 0)
    GetWindowTextA(hwnd, s.buffer, sizeof s.buffer);
  else
    GetClassNameA(hwnd, s.buffer, 64);
  if (std::strcmp(s.buffer, "rctrl_renwnd32") == 0) {
    ++s.matches;
    if (s.deleteOnMatch) {
      watch::NotifyIconRecord record{};
      record.cbSize = sizeof record;
      record.hWnd = hwnd;
      watch::NotifyIcon(NIM_DELETE, record);
    }
  }
  return TRUE;
}

int FloorKeys() {
  int down = 0;
  for (int vk = 0; vk <= 255; ++vk)
    if (static_cast<USHORT>(GetAsyncKeyState(vk)) & 0x8001) ++down;
  return down;
}

struct Crowd {
  PROCESS_INFORMATION pi{};
  bool ok = false;
};

Crowd StartCrowd(const std::wstring& exe, int count, bool outlook) {
  Crowd c;
  const std::wstring event = L"PostlarkBenchCrowd" + std::to_wstring(GetCurrentProcessId()) +
                             L"_" + std::to_wstring(GetTickCount());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
  std::wstring cmd = L"\"" + exe + L"\" " + std::to_wstring(count) + L" " + event +
                     (outlook ? L" --outlook" : L"");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &c.pi)) {
    HANDLE both[] = {ready, c.pi.hProcess};
    c.ok = WaitForMultipleObjects(2, both, FALSE, 60000) == WAIT_OBJECT_0;
  }
  CloseHandle(ready);
  return c;
}

void StopCrowd(Crowd& c) {
  if (!c.pi.hProcess) return;
  TerminateProcess(c.pi.hProcess, 0);
  WaitForSingleObject(c.pi.hProcess, 30000);
  CloseHandle(c.pi.hProcess);
  CloseHandle(c.pi.hThread);
  c.pi = {};
}

std::wstring SiblingPath(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir = self;
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + name;
}

struct Condition {
  const char* name;
  std::string goalName;
  int extra;
  bool outlook;
  bool toasts;  // the stand-in toast list registered and read every tick
};

void RunCondition(const Condition& cond, const std::wstring& crowdExe) {
  Crowd crowd;
  if (cond.extra > 0 || cond.outlook) {
    crowd = StartCrowd(crowdExe, cond.extra, cond.outlook);
    if (!crowd.ok) {
      std::printf("\n[%s] could not start the window helper\n", cond.name);
      StopCrowd(crowd);
      return;
    }
  }

  // The real envelope probe, and the real toast list where one is given;
  // the marker is never looked for.
  testing_support::Log log;
  watch::EnvelopeSource envelope(watch::RealDesktop(), [] { return true; });
  std::vector<watch::MailSource*> sources{&envelope};
  testing_support::FakeEffect beep("beep", log);
  std::unique_ptr<testing_support::StandInNotifications> platform;
  testing_support::TestMailbox mailbox;  // a read is taken at the next tick
  std::unique_ptr<watch::ToastSource> notifications;
  std::unique_ptr<FloorToasts> floorToasts;
  if (cond.toasts) {
    platform = std::make_unique<testing_support::StandInNotifications>();
    // A mail toast from before Postlark started: read every tick, never news.
    platform->SetToasts({{1, L"Microsoft.OutlookForWindows_8wekyb3d8bbwe!App", 0}});
    notifications = std::make_unique<watch::ToastSource>(
        watch::MakeWinRtNotificationList, mailbox, [] { return true; },
        [] { return L"Microsoft.OutlookForWindows_8wekyb3d8bbwe"; }, GetTickCount64, kTicksPerHour);
    sources.push_back(notifications.get());
    floorToasts = std::make_unique<FloorToasts>();
    if (!platform->Registered()) {
      std::printf("\n[%s] could not register or open the stand-in toast list\n", cond.name);
      StopCrowd(crowd);
      return;
    }
  }
  watch::CheckCycle cycle(sources, {&beep}, presence::UserIsPresenting);
  // Each tick on a clock of its own, so each can be timed alone.
  testing_support::FakeTimers checkClock, idleClock;
  cycle.HostTimers(checkClock);
  cycle.Start();
  presence::ActivityProbe activity;
  presence::IdleWatch presence(activity);
  presence.HostTimers(idleClock);
  bool idle = false;
  presence.Ticked = [&](const presence::StatusLine& line) { idle = !line.idle.empty(); };

  FloorState floor;
  floor.deleteOnMatch = cond.outlook;

  // Warm up; the first idle tick also takes in the pointer's position, so
  // later ones find it unmoved and scan all 256 keys.
  for (int i = 0; i < 5; ++i) {
    checkClock.Advance(1000);
    idleClock.Advance(1000);
    floor.windows = 0;
    EnumWindows(FloorVisit, reinterpret_cast<LPARAM>(&floor));
    FloorKeys();
    if (floorToasts) floorToasts->Tick();
  }
  const int walked = floor.windows;
  const int matches = floor.matches / 5;

  std::vector<double> pCheck, pIdle, pTotal, fWalk, fKeys, fTotal, ratios, cursor;
  int activeTicks = 0, keyDownTicks = 0, mailHits = 0;
  // Enough pairs for the median to hold from run to run even where a pair
  // takes a tenth of a second (a thousand windows): at least 120, more
  // while the budget lasts.
  const double budgetMs = 4000, started = NowMs();
  for (int i = 0; i < 600 && (i < 120 || NowMs() - started < budgetMs); ++i) {
    double p = 0, f = 0;
    for (int half = 0; half < 2; ++half) {
      // Alternate which goes first so neither always runs on a warmer cache.
      if ((half == 0) == (i % 2 == 0)) {
        const double t0 = NowMs();
        checkClock.Advance(1000);
        const double t1 = NowMs();
        idleClock.Advance(1000);
        const double t2 = NowMs();
        pCheck.push_back(t1 - t0);
        pIdle.push_back(t2 - t1);
        pTotal.push_back(p = t2 - t0);
        if (!idle) ++activeTicks;
        if (!cycle.Watching()) {  // a hit: cannot happen without an envelope
          ++mailHits;
          cycle.Start();
        }
      } else {
        floor.windows = 0;
        const double t0 = NowMs();
        EnumWindows(FloorVisit, reinterpret_cast<LPARAM>(&floor));
        if (floorToasts) floorToasts->Tick();
        const double t1 = NowMs();
        const int down = FloorKeys();
        const double t2 = NowMs();
        fWalk.push_back(t1 - t0);
        fKeys.push_back(t2 - t1);
        fTotal.push_back(f = t2 - t0);
        if (down) ++keyDownTicks;
      }
    }
    ratios.push_back(p / f);
    POINT pt;
    const double c0 = NowMs();
    GetCursorPos(&pt);
    cursor.push_back(NowMs() - c0);
  }
  StopCrowd(crowd);

  const auto total = bench::Summarize(pTotal), floorTotal = bench::Summarize(fTotal);
  // Paired ratios: each pair ran back to back, so a load that drifts over
  // the run cancels out of the goal figure.
  const auto paired = bench::Summarize(ratios);
  std::printf("\n[%s] %d top-level windows walked per tick%s\n", cond.name, walked,
              matches ? ", 1 untitled rctrl_renwnd32 (no envelope)" : "");
  bench::PrintHeader();
  bench::PrintRow("Postlark check tick", bench::Summarize(pCheck), 1000, "us");
  bench::PrintRow("Postlark idle tick", bench::Summarize(pIdle), 1000, "us");
  bench::PrintRow("Postlark both ticks", total, 1000, "us");
  bench::PrintRow("floor: walk + label", bench::Summarize(fWalk), 1000, "us");
  bench::PrintRow("floor: 256 key states", bench::Summarize(fKeys), 1000, "us");
  bench::PrintRow("floor: both", floorTotal, 1000, "us");
  bench::PrintRow("paired ratio Postlark/floor", paired, 1, "x");
  // The spread from run to run, estimated here: the medians of four
  // interleaved quarters of the pairs.
  std::vector<double> quarters;
  for (size_t q = 0; q < 4; ++q) {
    std::vector<double> part;
    for (size_t k = q; k < ratios.size(); k += 4) part.push_back(ratios[k]);
    quarters.push_back(bench::Summarize(part).median);
  }
  const auto spread = bench::Summarize(quarters);
  bench::PrintRow("GetCursorPos alone (not in floor)", bench::Summarize(cursor), 1000, "us");
  std::printf("  ratio: paired median %.3f (%d pairs; p10-p90 %.3f-%.3f; medians of quarters %.3f-%.3f), "
              "of medians %.3f; share of one core (median tick / 1 s): %.2f%%, floor %.2f%%\n",
              paired.median, paired.n, paired.p10, paired.p90, spread.min, spread.max,
              total.median / floorTotal.median, total.median / 1000.0 * 100.0, floorTotal.median / 1000.0 * 100.0);
  if (activeTicks || keyDownTicks)
    std::printf("  NOTE: activity seen in %d Postlark ticks, key state set in %d floor scans: "
                "those scans ended early or were skipped\n",
                activeTicks, keyDownTicks);
  else
    std::printf("  pointer still and no key state set: every idle tick scanned all 256 keys\n");
  if (mailHits) std::printf("  NOTE: %d unexpected mail hits\n", mailHits);
  if (!cond.goalName.empty())
    bench::PrintGoal(cond.goalName, paired.median, true, 1.2, "x");
  bench::Flush();
}

// One read of the toast list, asked for and taken as the check tick does:
// the window's thread spends the Look that asks and the taking of the
// answer; the reader's thread the rest.
struct ReadTimes {
  double windowMs = -1, wallMs = -1;
};

ReadTimes ReadOnce(watch::ToastSource& source, testing_support::TestMailbox& mailbox) {
  ReadTimes r;
  const int before = mailbox.wakes;
  const double t0 = NowMs();
  source.Look();
  const double asked = NowMs() - t0;
  while (mailbox.wakes == before) {
    if (NowMs() - t0 > 60000) return r;
    Sleep(1);
  }
  const double t1 = NowMs();
  mailbox.Deliver();
  const double t2 = NowMs();
  if (source.Access() != watch::ToastState::Allowed) return r;  // not a read
  r.windowMs = asked + (t2 - t1);
  r.wallMs = t2 - t0;
  return r;
}

// 10,000 toasts from 40 apps matched against the longest app list Postlark
// takes (32,767 characters, naming none of them), then memory over 2,000
// reads of a short list.
void ToastReads() {
  std::printf("\n== Toast list reads (stand-in), in-process\n");
  testing_support::StandInNotifications platform;
  if (!platform.Registered()) {
    std::printf("  could not register or open the stand-in toast list\n");
    return;
  }
  std::vector<testing_support::StandInToast> toasts;
  for (std::uint32_t id = 1; id <= 10000; ++id)
    toasts.push_back({id, L"Vendor.App" + std::to_wstring(id % 40) + L"_1a2b3c4d5e6f!App", 0});
  platform.SetToasts(toasts);
  std::wstring apps;
  for (int i = 0; apps.size() + 16 < 32767; ++i) apps += L"Other.Mail" + std::to_wstring(i) + L"; ";
  testing_support::TestMailbox mailbox;
  watch::ToastSource source(
      watch::MakeWinRtNotificationList, mailbox, [] { return true; }, [&] { return apps; }, GetTickCount64, 0);

  std::vector<double> window, wall;
  for (int i = 0; i < 8; ++i) {
    const ReadTimes r = ReadOnce(source, mailbox);
    if (r.windowMs < 0) {
      std::printf("  a read of 10,000 toasts did not complete in a minute, or failed\n");
      return;
    }
    window.push_back(r.windowMs);
    wall.push_back(r.wallMs);
  }
  std::printf("  10,000 toasts, app list of %zu characters; times in milliseconds\n", apps.size());
  bench::PrintHeader();
  bench::PrintRow("whole read (reader's thread)", bench::Summarize(wall), 1, "ms");
  bench::PrintRow("window's thread per read", bench::Summarize(window), 1, "ms");
  // The first read is the one that used to hold the window for seconds.
  bench::PrintGoal("window's thread, first read of 10,000 toasts", window[0], true, 100, "ms");

  toasts.resize(100);
  platform.SetToasts(toasts);
  SIZE_T at200 = 0;
  int done = 0;
  for (; done < 2000; ++done) {
    if (ReadOnce(source, mailbox).windowMs < 0) break;
    if (done + 1 == 200) at200 = testing_support::HeapBytesInUse();
  }
  const SIZE_T atEnd = testing_support::HeapBytesInUse();
  const double grownKiB = (static_cast<double>(atEnd) - static_cast<double>(at200)) / 1024.0;
  std::printf("  %d reads of 100 toasts; heap bytes in use at read 200: %.0f KiB, at read %d: %.0f KiB\n",
              done, at200 / 1024.0, done, atEnd / 1024.0);
  if (done == 2000) bench::PrintGoal("memory grown from read 200 to read 2,000", grownKiB, true, 64, "KiB");
  bench::Flush();
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring crowdExe = SiblingPath(L"window_crowd.exe");
  if (argc > 1) {
    std::string a = argv[1];
    crowdExe.assign(a.begin(), a.end());
  }
  std::printf("== Tick cost: one check tick + one idle tick, in-process, real probes\n"
              "   floor = EnumWindows + GetWindowTextLengthA + GetWindowTextA/GetClassNameA + 256 x GetAsyncKeyState\n"
              "   (+ the hand-over of the toast list's read to its thread, where it is registered)\n"
              "   extra windows live in a helper process, half titled; times in microseconds\n");
  bench::Flush();
  const Condition conditions[] = {
      {"desktop as is", "", 0, false, false},
      {"+100 windows", "tick ratio to floor (paired), +100 windows", 100, false, false},
      {"+1000 windows", "tick ratio to floor (paired), +1000 windows", 1000, false, false},
      {"+1000 windows and an idle Outlook", "", 1000, true, false},
      {"+100 windows, toast list (stand-in) read every tick", "tick ratio to floor (paired), toast list", 100, false,
       true},
  };
  for (const Condition& c : conditions) RunCondition(c, crowdExe);
  ToastReads();
  return 0;
}
