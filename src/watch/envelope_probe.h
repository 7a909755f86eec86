#pragma once
// Finds Outlook's new-mail envelope from outside: walks the top-level windows,
// and for each untitled "rctrl_renwnd32" window asks the shell to delete its
// notification icon 0. The delete succeeds only while the envelope is shown,
// so a success is the finding; Outlook's window is then sent message 1031.
#include <windows.h>

#include <functional>
#include <string>

#include "watch/mail_source.h"

namespace watch {

// The platform facts the walk needs, narrow so that a test can supply them.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  virtual void EnumTopLevel(WNDENUMPROC callback, LPARAM param) = 0;
  virtual int TitleLength(HWND hwnd) = 0;
  // Fill buffer (count characters) as GetWindowTextA / GetClassNameA do.
  virtual void Title(HWND hwnd, char* buffer, int count) = 0;
  virtual void ClassName(HWND hwnd, char* buffer, int count) = 0;
  virtual BOOL DeleteNotifyIcon(HWND hwnd, UINT id) = 0;
  // Sends msg with both parameters 0, waiting a bounded time for the answer.
  virtual void Send(HWND hwnd, UINT msg) = 0;
};

// The real desktop: user32 and shell32.
DesktopWindows& RealDesktop();

inline constexpr char kOutlookLabel[] = "rctrl_renwnd32";
inline constexpr UINT kOutlookNewMailMessage = WM_USER + 7;  // 1031

// One walk: true when it found an envelope and took it away.
bool TakeEnvelope(DesktopWindows& desktop = RealDesktop());
// A window's title, or its class name when it has none, cut at its first NUL.
std::string WindowLabel(DesktopWindows& desktop, HWND hwnd);

// The envelope as a mail source: on while the marker file is not watched.
class EnvelopeSource final : public MailSource {
 public:
  EnvelopeSource(DesktopWindows& desktop, std::function<bool()> on) : desktop_(desktop), on_(std::move(on)) {}
  const wchar_t* Name() const override { return L"envelope"; }
  bool On() const override { return on_(); }
  void Look() override {
    if (TakeEnvelope(desktop_)) Found();
  }

 private:
  DesktopWindows& desktop_;
  std::function<bool()> on_;
};

}  // namespace watch
