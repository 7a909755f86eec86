#pragma once
// Outlook as Postlark sees it: an untitled top-level "rctrl_renwnd32" window
// that shows its envelope as notification icon 0 and takes message 1031.
#include <windows.h>

#include <string>
#include <vector>

#include "support/process.h"

namespace testing_support {

// True while the notification icon (hwnd, id) exists.
bool IconExists(HWND hwnd, UINT id);

// A stand-in living in the test process, counting the 1031s it gets.
class StandInOutlook {
 public:
  explicit StandInOutlook(const wchar_t* title = L"");
  ~StandInOutlook();
  StandInOutlook(const StandInOutlook&) = delete;
  StandInOutlook& operator=(const StandInOutlook&) = delete;

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

// tests/support/stand_in_outlook.exe in a process of its own, showing its
// envelope; options as that program takes them (--hang, --asleep).
class StandInProcess {
 public:
  explicit StandInProcess(const std::wstring& options);
  ~StandInProcess();
  // Its window, once it exists (and shows its envelope); null if it never did.
  HWND hwnd() const { return hwnd_; }
  // The 1031s it logged so far.
  int NewMailMessages() const;

 private:
  std::wstring ready_, log_;
  ChildProcess process_;
  HWND hwnd_ = nullptr;
};

}  // namespace testing_support
