// The start-up yardstick: the least a tray program can do, one shown window
// and one notification icon (uID 1), then a message loop. Closing the window
// removes the icon and ends the program.
#include <windows.h>
#include <shellapi.h>

namespace {

NOTIFYICONDATAW gIcon{};

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    Shell_NotifyIconW(NIM_DELETE, &gIcon);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"BenchMinimalTray";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              0, 0, 320, 200, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show == SW_HIDE ? SW_SHOW : show);
  UpdateWindow(hwnd);
  gIcon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  gIcon.hWnd = hwnd;
  gIcon.uID = 1;
  gIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  gIcon.uCallbackMessage = WM_APP;
  gIcon.hIcon = wc.hIcon;
  lstrcpyW(gIcon.szTip, L"Minimal");
  Shell_NotifyIconW(NIM_ADD, &gIcon);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
