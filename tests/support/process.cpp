#include "support/process.h"

#include <cstdio>

#include "support/pump.h"
#include "support/stand_in.h"

namespace testing_support {

HWND FindWindowOf(DWORD pid, const wchar_t* cls) {
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, cls, nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid) return h;
  }
  return nullptr;
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments, DWORD flags,
                           const std::wstring& folder) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, flags, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "could not start %s (error %lu)\n", Narrow(exe).c_str(), GetLastError());
    return;
  }
  process_.Reset(pi.hProcess);
  thread_.Reset(pi.hThread);
  pid_ = pi.dwProcessId;
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitExit(DWORD timeoutMs) {
  if (!process_) return true;
  return PumpUntil(
      [&] {
        OnWait();
        return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.get(), &code);
  return code;
}

void ChildProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(process_.get(), 9);
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (WaitForSingleObject(process_.get(), 20) != WAIT_OBJECT_0 && GetTickCount64() < deadline) OnWait();
}

PostlarkProcess::PostlarkProcess(const std::wstring& exe, bool debug, const std::wstring& folder)
    : ChildProcess(exe, L"", debug ? DEBUG_ONLY_THIS_PROCESS : 0, folder), debug_(debug) {
  if (!process_) return;
  if (debug_) SetPumpHook([this] { DrainDebugEvents(); });
  // Start-up is over once the window is shown, the tray icon is in and the
  // clip window is shown too.
  const auto started = [&] {
    main_ = FindWindowOf(pid_, L"PostlarkMain");
    tray_ = FindWindowOf(pid_, L"PostlarkMessages");
    return main_ && IsWindowVisible(main_) && IconExists(tray_, 1) && IsWindowVisible(Clip());
  };
  if (PumpUntil([&] { return !Running() || started(); }, 15000) && Running()) return;
  if (!Running())
    std::fprintf(stderr, "postlark.exe ended during start-up with code %lu\n", ExitCode());
  else
    std::fprintf(stderr, "postlark.exe showed no window, tray icon and clip window within 15 s\n");
  main_ = tray_ = nullptr;
}

PostlarkProcess::~PostlarkProcess() {
  Kill();
  if (debug_) SetPumpHook(nullptr);
}

HWND PostlarkProcess::Clip() const { return FindWindowOf(pid_, L"PostlarkAnimation"); }

std::wstring PostlarkProcess::Text(int id) const {
  wchar_t buffer[512] = {};
  SendMessageTimeoutW(Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

bool PostlarkProcess::FocusIsIn(int id) const {
  return PumpUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) && info.hwndFocus == Control(id);
      },
      3000);
}

bool PostlarkProcess::Focus(int id) const {
  SetForegroundWindow(main_);
  RECT r;
  GetWindowRect(Control(id), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  return FocusIsIn(id);
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool OnScreen(HWND clip) {
  const RECT r = WindowRect(clip);
  return r.left >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) && r.right > r.left;
}

bool ParkedLeft(HWND clip) { return WindowRect(clip).right <= 0; }

void PressKey(WORD vk) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

void Type(HWND edit, const std::wstring& text) {
  for (const wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

bool PostlarkProcess::Choose(std::initializer_list<WORD> keys) const {
  PostMessageW(tray_, WM_MOUSEMOVE, 1, WM_RBUTTONUP);
  HWND menu = nullptr;
  if (!PumpUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); }, 3000)) {
    std::fprintf(stderr, "the tray menu did not open\n");
    return false;
  }
  for (const WORD key : keys) {
    PressKey(key);
    PumpFor(150);  // a submenu opens before its keys count
  }
  return PumpUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 3000);
}

int PostlarkProcess::Traced(const char* text) const {
  int n = 0;
  for (const std::string& line : debugOutput_) n += line.find(text) != std::string::npos;
  return n;
}

void PostlarkProcess::OnWait() {
  if (debug_) DrainDebugEvents();
}

void PostlarkProcess::DrainDebugEvents() {
  DEBUG_EVENT event;
  while (WaitForDebugEvent(&event, 0)) {
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case OUTPUT_DEBUG_STRING_EVENT: {
        const auto& info = event.u.DebugString;
        std::string text(info.nDebugStringLength, '\0');
        SIZE_T read = 0;
        if (!info.fUnicode &&
            ReadProcessMemory(process_.get(), info.lpDebugStringData, text.data(), text.size(), &read))
          debugOutput_.push_back(text.substr(0, text.find('\0')));
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        // First-chance exceptions belong to the program; the initial
        // breakpoint is ours to swallow.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
          status = DBG_EXCEPTION_NOT_HANDLED;
        break;
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
}

}  // namespace testing_support
