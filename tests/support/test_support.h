#pragma once
// Helpers shared by the Win32 and end-to-end tests: message pumping with a
// deadline, Postlark's stored options, a running postlark.exe, and a
// stand-in Outlook living in the test process.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Pumps this thread's messages until done() or the deadline; true if done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Runs at every turn of PumpUntil (a debugger draining its events).
void SetPumpHook(std::function<void()> hook);
void PumpFor(DWORD ms);

std::wstring Env(const wchar_t* name);
// A path from the Unix side ("/work/x") as Wine names it ("Z:\\work\\x").
std::wstring WinPath(std::wstring path);
// Paths of the build under test: from the environment when set, else from
// the folder ctest runs the tests in (build/<arch>/tests).
std::wstring PostlarkExe();
std::wstring StandInExe();
std::wstring TestDataFolder();
// Folder for this test's files (created), under POSTLARK_TEST_DATA or %TEMP%.
std::wstring TestFolder(const std::wstring& name);

// HKCU\Software\Postlark\Options.
void ClearOptions();
void SetOption(const std::wstring& key, const std::wstring& value);
std::optional<std::wstring> GetOption(const std::wstring& key);

// A running build/postlark.exe (POSTLARK_EXE), ended when this goes out of
// scope.
class PostlarkProcess {
 public:
  explicit PostlarkProcess(const std::wstring& exe = PostlarkExe(), bool debug = false);
  ~PostlarkProcess();
  PostlarkProcess(const PostlarkProcess&) = delete;
  PostlarkProcess& operator=(const PostlarkProcess&) = delete;

  bool Started() const { return main_ != nullptr; }
  HWND Main() const { return main_; }
  HWND Anim() const;  // the animation window
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  std::wstring Text(int id) const;
  DWORD Pid() const { return pi_.dwProcessId; }
  // True once the process has ended within timeoutMs (pumping meanwhile).
  bool WaitExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  void Kill();
  // With debug: what the process wrote with OutputDebugString so far.
  const std::vector<std::string>& DebugOutput() const { return debugOutput_; }

 private:
  void DrainDebugEvents();

  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  bool debug_ = false;
  std::vector<std::string> debugOutput_;
};

// True while the notification icon (hwnd, id) exists.
bool IconExists(HWND hwnd, UINT id);

// Outlook as Postlark sees it: an untitled top-level "rctrl_renwnd32" window
// that shows its envelope as notification icon 0 and counts message 1031.
class StandInOutlook {
 public:
  explicit StandInOutlook(const wchar_t* title = L"");
  ~StandInOutlook();
  HWND hwnd() const { return hwnd_; }
  bool AddEnvelope();
  bool HasEnvelope() const { return IconExists(hwnd_, 0); }
  int NewMailMessages() const { return messages_; }
  std::vector<DWORD> MessageTimes() const { return times_; }

 private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  int messages_ = 0;
  std::vector<DWORD> times_;
};

// Screenshot of the whole (virtual) screen as a BMP, kept for a failing test.
bool SaveScreenshot(const std::wstring& path);

// Committed private memory of a process, summed region by region: what
// PrivateUsage counts, on systems (Wine) that report PrivateUsage as 0.
SIZE_T CommittedPrivateBytes(HANDLE process);

}  // namespace testing_support
