#include "watch/envelope_probe.h"

#include "watch/notify_icon_record.h"

namespace watch {
namespace {

constexpr int kClassBufferChars = 64;
constexpr UINT kSendTimeoutMs = 1000;

class Win32Desktop final : public DesktopWindows {
 public:
  void EnumTopLevel(WNDENUMPROC callback, LPARAM param) override { ::EnumWindows(callback, param); }
  int TitleLength(HWND hwnd) override { return ::GetWindowTextLengthA(hwnd); }
  void Title(HWND hwnd, char* buffer, int count) override {
    ::GetWindowTextA(hwnd, buffer, count);
  }
  void ClassName(HWND hwnd, char* buffer, int count) override {
    ::GetClassNameA(hwnd, buffer, count);
  }
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

}  // namespace

DesktopWindows& RealDesktop() {
  static Win32Desktop desktop;
  return desktop;
}

}  // namespace watch

namespace Module1 {

namespace {

BOOL CALLBACK EnumOutlookWindows(HWND hwnd, LPARAM param) {
  auto& walk = *reinterpret_cast<watch::Walk*>(param);
  if (GetWindowLabel(walk.desktop, hwnd) != watch::kOutlookLabel) return -1;
  if (RemoveEnvelopeIcon(walk.desktop, hwnd) != base::kTrue) return -1;
  walk.desktop.Send(hwnd, watch::kOutlookNewMailMessage);
  walk.found = true;
  return 0;
}

}  // namespace

bool CheckOutlookTray(watch::DesktopWindows& desktop) {
  watch::Walk walk{desktop};
  desktop.EnumTopLevel(EnumOutlookWindows, reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

std::string GetWindowLabel(watch::DesktopWindows& desktop, HWND hwnd) {
  const int length = desktop.TitleLength(hwnd);
  if (length > 0) {
    // Any length is safe: the buffer is sized to the title, whatever it is.
    std::string title(static_cast<size_t>(length) + 1, ' ');
    desktop.Title(hwnd, title.data(), length + 1);
    return TrimAtNul(title);
  }
  std::string className(watch::kClassBufferChars, ' ');
  desktop.ClassName(hwnd, className.data(), watch::kClassBufferChars);
  return TrimAtNul(className);
}

std::string TrimAtNul(const std::string& text) {
  const size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

base::Flag16 RemoveEnvelopeIcon(watch::DesktopWindows& desktop, HWND hwnd) {
  return base::ToFlag16(desktop.DeleteNotifyIcon(hwnd, 0) != FALSE);
}

}  // namespace Module1
