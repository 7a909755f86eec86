#include "support/test_support.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/form1.h"
#include "settings/settings_store.h"

namespace testing_support {

namespace {
std::function<void()>& PumpHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void SetPumpHook(std::function<void()> hook) { PumpHook() = std::move(hook); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (PumpHook()) PumpHook()();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

std::wstring Env(const wchar_t* name) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  return n ? std::wstring(buffer.data(), n) : std::wstring();
}

std::wstring WinPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

namespace {
std::wstring FromEnvOrTestsFolder(const wchar_t* variable, const wchar_t* relative) {
  const std::wstring set = Env(variable);
  if (!set.empty()) return WinPath(set);
  wchar_t full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(relative, MAX_PATH * 2, full, nullptr);
  return n ? std::wstring(full, n) : relative;
}
}  // namespace

std::wstring PostlarkExe() { return FromEnvOrTestsFolder(L"POSTLARK_EXE", L"..\\postlark.exe"); }
std::wstring StandInExe() { return FromEnvOrTestsFolder(L"POSTLARK_STAND_IN", L"stand_in_outlook.exe"); }
std::wstring TestDataFolder() { return FromEnvOrTestsFolder(L"POSTLARK_TEST_DATA", L"..\\testdata"); }

std::wstring TestFolder(const std::wstring& name) {
  std::wstring root = TestDataFolder();
  if (root.back() != L'\\' && root.back() != L'/') root += L'\\';
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

namespace {
const wchar_t kOptionsKey[] = L"Software\\Postlark\\Options";
}

void ClearOptions() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Postlark"); }

void SetOption(const std::wstring& key, const std::wstring& value) {
  MakeRegistryStore()->SaveSetting(kAppName, kOptionsSection, key, value);
}

std::optional<std::wstring> GetOption(const std::wstring& key) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, key.c_str(), RRF_RT_REG_SZ, nullptr,
                   buffer.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer.data());
}

namespace {

struct FindArgs {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
  auto* args = reinterpret_cast<FindArgs*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64];
  if (pid == args->pid && GetClassNameW(hwnd, cls, 64) && wcscmp(cls, args->cls) == 0) {
    args->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD pid, const wchar_t* cls) {
  FindArgs args{pid, cls, nullptr};
  EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

}  // namespace

PostlarkProcess::PostlarkProcess(const std::wstring& exe, bool debug) : debug_(debug) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                      debug ? DEBUG_ONLY_THIS_PROCESS : 0, nullptr, nullptr, &si, &pi_))
    return;
  if (debug_) SetPumpHook([this] { DrainDebugEvents(); });
  // The window is there once Form_Load has shown it and the tray icon is in.
  PumpUntil(
      [&] {
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) return true;  // it gave up
        main_ = FindWindowOf(pi_.dwProcessId, kForm1Class);
        return main_ && IconExists(main_, 1) && Anim();
      },
      15000);
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) {
    main_ = nullptr;
    std::fprintf(stderr, "postlark.exe ended during start-up with code %lu\n", ExitCode());
  } else if (!main_) {
    std::fprintf(stderr, "postlark.exe showed no window with its tray icon within 15 s\n");
  }
}

PostlarkProcess::~PostlarkProcess() {
  Kill();
  if (debug_) SetPumpHook(nullptr);
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
  if (pi_.hThread) CloseHandle(pi_.hThread);
}

HWND PostlarkProcess::Anim() const { return FindWindowOf(pi_.dwProcessId, L"PostlarkAnimation"); }

std::wstring PostlarkProcess::Text(int id) const {
  wchar_t buffer[512] = {};
  SendMessageTimeoutW(Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

bool PostlarkProcess::WaitExit(DWORD timeoutMs) {
  if (!pi_.hProcess) return true;
  if (debug_) DrainDebugEvents();
  return PumpUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; },
                   timeoutMs);
}

DWORD PostlarkProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
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
            ReadProcessMemory(pi_.hProcess, info.lpDebugStringData, text.data(), text.size(), &read))
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

void PostlarkProcess::Kill() {
  if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(pi_.hProcess, 9);
    if (debug_) {
      const ULONGLONG deadline = GetTickCount64() + 5000;
      while (WaitForSingleObject(pi_.hProcess, 20) != WAIT_OBJECT_0 && GetTickCount64() < deadline)
        DrainDebugEvents();
    }
    WaitForSingleObject(pi_.hProcess, 5000);
  }
}

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

SIZE_T CommittedPrivateBytes(HANDLE process) {
  SIZE_T bytes = 0;
  MEMORY_BASIC_INFORMATION mbi;
  for (const char* at = nullptr;
       VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi && mbi.RegionSize;
       at = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) bytes += mbi.RegionSize;
  }
  return bytes;
}

bool SaveScreenshot(const std::wstring& path) {
  HDC screen = GetDC(nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  bool ok = false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD written;
    ok = WriteFile(f, &fh, sizeof fh, &written, nullptr) &&
         WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr) &&
         WriteFile(f, bits, size, &written, nullptr);
    CloseHandle(f);
  }
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace testing_support
