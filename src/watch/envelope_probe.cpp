#include "watch/envelope_probe.h"

#include "watch/notify_icon_record.h"

namespace watch {
namespace {

// A buffer the system filled, up to its first NUL.
std::string CutAtNul(const std::string& text) {
  const size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

constexpr int kClassBufferChars = 64;
constexpr UINT kSendTimeoutMs = 1000;

class Win32Desktop final : public DesktopWindows {
 public:
  void EnumTopLevel(WNDENUMPROC callback, LPARAM param) override { ::EnumWindows(callback, param); }
  int TitleLength(HWND hwnd) override { return ::GetWindowTextLengthA(hwnd); }
  void Title(HWND hwnd, char* buffer, int count) override { ::GetWindowTextA(hwnd, buffer, count); }
  void ClassName(HWND hwnd, char* buffer, int count) override { ::GetClassNameA(hwnd, buffer, count); }
  BOOL DeleteNotifyIcon(HWND hwnd, UINT id) override {
    NotifyIconRecord record{};
    record.cbSize = sizeof record;
    record.hWnd = hwnd;
    record.uID = id;
    return NotifyIcon(NIM_DELETE, record);
  }
  // Outlook may hang, or another program may copy its window class and stop
  // answering: the wait is bounded, and ends at once for a window the system
  // already knows is hung.
  void Send(HWND hwnd, UINT msg) override {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hwnd, msg, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  }
};

// What one walk carries from window to window.
struct Walk {
  DesktopWindows& desktop;
  bool found = false;
};

BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM param) {
  auto& walk = *reinterpret_cast<Walk*>(param);
  if (WindowLabel(walk.desktop, hwnd) != kOutlookLabel) return TRUE;
  if (!walk.desktop.DeleteNotifyIcon(hwnd, 0)) return TRUE;
  walk.desktop.Send(hwnd, kOutlookNewMailMessage);
  walk.found = true;
  return FALSE;
}

}  // namespace

DesktopWindows& RealDesktop() {
  static Win32Desktop desktop;
  return desktop;
}

bool TakeEnvelope(DesktopWindows& desktop) {
  Walk walk{desktop};
  desktop.EnumTopLevel(VisitWindow, reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

std::string WindowLabel(DesktopWindows& desktop, HWND hwnd) {
  const int length = desktop.TitleLength(hwnd);
  if (length > 0) {
    // Any length is safe: the buffer is sized to the title, whatever it is.
    std::string title(static_cast<size_t>(length) + 1, ' ');
    desktop.Title(hwnd, title.data(), length + 1);
    return CutAtNul(title);
  }
  std::string className(kClassBufferChars, ' ');
  desktop.ClassName(hwnd, className.data(), kClassBufferChars);
  return CutAtNul(className);
}

}  // namespace watch
