// Helper for tick_bench: fills the desktop with hidden top-level windows of
// its own process, half titled and half not, so that the probe labels
// foreign windows as it does on a real desktop. Optionally adds one untitled
// "rctrl_renwnd32" window without an envelope. Signals the named event when
// all exist, then runs until killed.
//   window_crowd.exe COUNT EVENT_NAME [--outlook]
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  const int count = _wtoi(argv[1]);
  const std::wstring event = argv[2];
  const bool outlook = argc > 3 && std::wstring(argv[3]) == L"--outlook";

  // Several classes, as several programs would register.
  const wchar_t* classes[] = {L"CrowdEditorFrame", L"CrowdToolWindow", L"CrowdMessageSink",
                              L"rctrl_renwnd32"};
  for (const wchar_t* cls : classes) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    RegisterClassW(&wc);
  }
  for (int i = 0; i < count; ++i) {
    std::wstring title;
    if (i % 2 == 0) {
      title = L"Document " + std::to_wstring(i) + L" - Editor";
      if (i % 6 == 0) title += L" - a somewhat longer caption as some programs have";
    }
    CreateWindowExW(0, classes[i % 3], title.c_str(), i % 4 == 3 ? WS_POPUP : WS_OVERLAPPEDWINDOW,
                    10 + i % 50, 10 + i % 40, 200, 100, nullptr, nullptr, instance, nullptr);
  }
  if (outlook)
    CreateWindowExW(0, L"rctrl_renwnd32", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                    instance, nullptr);

  if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, event.c_str())) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
