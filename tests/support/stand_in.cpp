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

StandInOutlook::StandInOutlook(const wchar_t* title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"rctrl_renwnd32";
  RegisterClassW(&wc);
  hwnd_ = CreateWindowExW(0, L"rctrl_renwnd32", title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
}

StandInOutlook::~StandInOutlook() {
  if (hwnd_) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = hwnd_;
    nid.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool StandInOutlook::AddEnvelope() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = hwnd_;
  nid.uID = 0;
  nid.uFlags = NIF_ICON | NIF_TIP;
  nid.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
  wcscpy(nid.szTip, L"New mail");
  return Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

LRESULT CALLBACK StandInOutlook::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<StandInOutlook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_USER + 7 && self) {
    ++self->messages_;
    self->times_.push_back(GetTickCount());
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
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

StandInProcess::StandInProcess(const std::wstring& options)
    : ready_(FreshFile(L"ready")),
      log_(FreshFile(L"log")),
      process_(StandInExe(), options + L" --envelope --ready \"" + ready_ + L"\" --log \"" + log_ + L"\"") {
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

StandInProcess::~StandInProcess() {
  process_.Kill();
  DeleteFileW(ready_.c_str());
  DeleteFileW(log_.c_str());
}

int StandInProcess::NewMailMessages() const {
  FILE* f = _wfopen(log_.c_str(), L"r");
  if (!f) return 0;
  int lines = 0;
  for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
  std::fclose(f);
  return lines;
}

}  // namespace testing_support
