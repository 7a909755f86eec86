#pragma once
// Programs a test starts: each is ended (killed if need be) and its handles
// closed when its owner goes, also when an assertion ends the test early.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "base/scoped.h"
#include "support/paths.h"

namespace testing_support {

// Postlark's next check comes within a second; a loaded machine may take
// longer to deliver it and its results, so every wait for one has this.
inline constexpr DWORD kCheckDeadlineMs = 4000;

class ChildProcess {
 public:
  // exe with the given command-line arguments, flags as CreateProcess takes
  // them, in the given current folder (empty: this process's).
  ChildProcess(const std::wstring& exe, const std::wstring& arguments, DWORD flags = 0,
               const std::wstring& folder = {});
  virtual ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running() const;
  DWORD Pid() const { return pid_; }
  // True once the process has ended within timeoutMs (pumping meanwhile).
  bool WaitExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  void Kill();

 protected:
  virtual void OnWait() {}

  base::UniqueHandle process_, thread_;
  DWORD pid_ = 0;
};

// The real postlark.exe, started and waited for until its options window is
// shown, its tray icon is in and its clip window is shown.
class PostlarkProcess : public ChildProcess {
 public:
  explicit PostlarkProcess(const std::wstring& exe = PostlarkExe(), bool debug = false,
                           const std::wstring& folder = {});
  ~PostlarkProcess() override;

  bool Started() const { return main_ != nullptr; }
  HWND Main() const { return main_; }
  // The hidden window that owns the tray icon and takes its notifications.
  HWND Tray() const { return tray_; }
  HWND Clip() const;
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  // A control's text, read with a bounded wait.
  std::wstring Text(int id) const;
  // The window in front and the keyboard focus in the control, put there by
  // a click as a user would; true once it is.
  bool Focus(int id) const;
  // Whether the control has the keyboard focus, within a few seconds.
  bool FocusIsIn(int id) const;
  // The tray menu opened by a right click on the icon and an item chosen by
  // its access key (and in a submenu, by the next keys); true once the menu
  // has closed again.
  bool Choose(std::initializer_list<WORD> keys) const;
  bool Choose(WORD key) const { return Choose({key}); }
  // With debug: what the process wrote with OutputDebugString so far, and
  // how many of those lines hold `text` (each alert traces "door open").
  const std::vector<std::string>& DebugOutput() const { return debugOutput_; }
  int Traced(const char* text) const;

 private:
  void OnWait() override;
  void DrainDebugEvents();

  HWND main_ = nullptr, tray_ = nullptr;
  bool debug_ = false;
  std::vector<std::string> debugOutput_;
};

// A copy of postlark.exe elsewhere, deleted with its owner.
struct ExeCopy {
  explicit ExeCopy(const std::wstring& to) : path(to) { made = CopyFileW(PostlarkExe().c_str(), to.c_str(), FALSE); }
  ~ExeCopy() { DeleteFileW(path.c_str()); }
  std::wstring path;
  bool made;
};

// Where the clip window is: shown within the primary screen, or parked
// beyond its left edge.
RECT WindowRect(HWND hwnd);
bool OnScreen(HWND clip);
bool ParkedLeft(HWND clip);

// A key pressed and released, to whichever window has the focus.
void PressKey(WORD vk);
// Text typed into an edit box, character by character.
void Type(HWND edit, const std::wstring& text);

// The first top-level window of that class owned by process pid.
HWND FindWindowOf(DWORD pid, const wchar_t* cls);

}  // namespace testing_support
