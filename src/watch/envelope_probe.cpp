#include "watch/envelope_probe.h"

#include <vector>

#include "watch/notify_icon_record.h"

namespace {

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
  void Send(HWND hwnd, UINT msg) override { ::SendMessageA(hwnd, msg, 0, 0); }
};

constexpr int kClassBufferChars = 64;

}  // namespace

DesktopWindows& RealDesktop() {
  static Win32Desktop desktop;
  return desktop;
}

namespace Module1 {

VbBool gbMailArrived = vbFalse;

void CheckOutlookTray(DesktopWindows& desktop) {
  desktop.EnumTopLevel(EnumOutlookWindows, reinterpret_cast<LPARAM>(&desktop));
}

BOOL CALLBACK EnumOutlookWindows(HWND hwnd, LPARAM param) {
  DesktopWindows& desktop = *reinterpret_cast<DesktopWindows*>(param);
  if (GetWindowLabel(desktop, hwnd) != kOutlookLabel) return -1;
  if (RemoveEnvelopeIcon(desktop, hwnd) != vbTrue) return -1;
  desktop.Send(hwnd, kOutlookNewMailMessage);
  gbMailArrived = vbTrue;
  return 0;
}

std::string GetWindowLabel(DesktopWindows& desktop, HWND hwnd) {
  const int length = desktop.TitleLength(hwnd);
  if (length > 0) {
    // Any length is safe: the buffer is sized to the title, whatever it is.
    std::string title(static_cast<size_t>(length) + 1, ' ');
    desktop.Title(hwnd, title.data(), length + 1);
    return TrimAtNul(title);
  }
  std::string className(kClassBufferChars, ' ');
  desktop.ClassName(hwnd, className.data(), kClassBufferChars);
  return TrimAtNul(className);
}

std::string TrimAtNul(const std::string& text) {
  const size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

VbBool RemoveEnvelopeIcon(DesktopWindows& desktop, HWND hwnd) {
  return ToVbBool(desktop.DeleteNotifyIcon(hwnd, 0) != FALSE);
}

}  // namespace Module1
