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

// tests/support/stand_in_outlook.exe in a process of its own; options as
// that program takes them (--envelope, --hang, --asleep).
class StandInOutlook {
 public:
  explicit StandInOutlook(const std::wstring& options = L"");
  ~StandInOutlook();
  StandInOutlook(const StandInOutlook&) = delete;
  StandInOutlook& operator=(const StandInOutlook&) = delete;

  // Its window, once it exists; null if it never did.
  HWND hwnd() const { return hwnd_; }
  bool AddEnvelope() const;
  bool HasEnvelope() const { return IconExists(hwnd_, 0); }
  // The 1031s it took so far, and when (its GetTickCount).
  int NewMailMessages() const { return static_cast<int>(MessageTimes().size()); }
  std::vector<DWORD> MessageTimes() const;

 private:
  std::wstring ready_, log_;
  ChildProcess process_;
  HWND hwnd_ = nullptr;
};

}  // namespace testing_support
