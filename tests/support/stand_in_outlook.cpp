// A stand-in Outlook in a process of its own: one untitled top-level
// "rctrl_renwnd32" window, showing the envelope (notification icon 0) at once
// with --envelope, or whenever it is sent WM_APP. It writes its window handle
// to the ready file once the window (and envelope) exist, and appends one
// line to the log file for each message 1031 it receives. With --hang it stops answering once it has logged the
// first 1031, as a hung Outlook would; with --asleep EVENT it answers
// nothing, once ready, until that named event is set. Runs until killed or
// sent WM_CLOSE.
//   stand_in_outlook.exe --envelope --hang
//                        --asleep Wake --ready C:\x\ready.txt --log C:\x\log.txt
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::wstring gLog;
bool gHang = false;

BOOL Envelope(HWND hwnd, DWORD message) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = hwnd;
  nid.uID = 0;
  nid.uFlags = NIF_ICON | NIF_TIP;
  nid.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
  wcscpy(nid.szTip, L"New mail");
  return Shell_NotifyIconW(message, &nid);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 7 && !gLog.empty()) {
    if (FILE* f = _wfopen(gLog.c_str(), L"a")) {
      std::fprintf(f, "1031 %lu\n", GetTickCount());
      std::fclose(f);
    }
    if (gHang) Sleep(INFINITE);
    return 0;
  }
  if (msg == WM_APP) return Envelope(hwnd, NIM_ADD);  // the test's "new mail"
  if (msg == WM_DESTROY) {
    Envelope(hwnd, NIM_DELETE);
    PostQuitMessage(0);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t cls[] = L"rctrl_renwnd32";
  std::wstring ready;
  bool envelope = false;
  std::wstring asleep;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    if (a == L"--envelope") envelope = true;
    else if (a == L"--hang") gHang = true;
    else if (i + 1 < argc && a == L"--ready") ready = argv[++i];
    else if (i + 1 < argc && a == L"--log") gLog = argv[++i];
    else if (i + 1 < argc && a == L"--asleep") asleep = argv[++i];
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, cls, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  if (envelope && !Envelope(hwnd, NIM_ADD)) return 2;
  if (!ready.empty()) {
    if (FILE* f = _wfopen(ready.c_str(), L"w")) {
      std::fprintf(f, "%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
      std::fclose(f);
    }
  }
  if (!asleep.empty()) {
    HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, asleep.c_str());
    PostMessageW(hwnd, WM_NULL, 0, 0);  // input it does not take meanwhile
    WaitForSingleObject(wake, 60000);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
