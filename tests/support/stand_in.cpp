#include "support/stand_in.h"

#include <shellapi.h>

#include <cstdio>

#include "support/pump.h"

namespace testing_support {

bool IconExists(HWND hwnd, UINT id) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = hwnd;
  nid.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

namespace {

std::wstring FreshFile(const std::wstring& name) {
  static int serial = 0;
  const std::wstring path = TestFolder(L"stand_in") + L"\\" + name + std::to_wstring(GetCurrentProcessId()) +
                            L"_" + std::to_wstring(++serial) + L".txt";
  DeleteFileW(path.c_str());
  return path;
}

}  // namespace

StandInOutlook::StandInOutlook(const std::wstring& options)
    : ready_(FreshFile(L"ready")),
      log_(FreshFile(L"log")),
      process_(StandInExe(), options + L" --ready \"" + ready_ + L"\" --log \"" + log_ + L"\"") {
  PumpUntil(
      [&] {
        if (!process_.Running()) return true;
        FILE* f = _wfopen(ready_.c_str(), L"r");
        if (!f) return false;
        unsigned long long h = 0;
        const bool ok = std::fscanf(f, "%llu", &h) == 1;
        std::fclose(f);
        hwnd_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(h));
        return ok;
      },
      10000);
  if (!hwnd_) std::fprintf(stderr, "the stand-in at %s did not come up\n", Narrow(StandInExe()).c_str());
}

StandInOutlook::~StandInOutlook() {
  // Closed, it takes its envelope along; hung, it is killed.
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  process_.WaitExit(1000);
  process_.Kill();
  DeleteFileW(ready_.c_str());
  DeleteFileW(log_.c_str());
}

bool StandInOutlook::AddEnvelope() const {
  // A busy tray may refuse an add: the stand-in asks again, as Outlook would.
  return PumpUntil(
      [&] {
        DWORD_PTR added = FALSE;
        return SendMessageTimeoutW(hwnd_, WM_APP, 0, 0, SMTO_ABORTIFHUNG, 5000, &added) && added;
      },
      5000);
}

std::vector<DWORD> StandInOutlook::MessageTimes() const {
  std::vector<DWORD> times;
  FILE* f = _wfopen(log_.c_str(), L"r");
  if (!f) return times;
  for (unsigned long tick; std::fscanf(f, "1031 %lu\n", &tick) == 1;) times.push_back(tick);
  std::fclose(f);
  return times;
}

}  // namespace testing_support
