#include "ui/message_window.h"

namespace ui {
namespace {
// wParam: the listener's slot.
constexpr UINT kWake = WM_APP + 1;
}  // namespace

MessageWindow::MessageWindow(const wchar_t* className) {
  if (RegisterClassOnce(className, nullptr, nullptr))
    Create(className, WS_EX_TOOLWINDOW, WS_POPUP, L"Postlark", 0, 0, 0, 0, nullptr);
}

base::Mailbox::Listening MessageWindow::Listen(std::function<void()> onWake) {
  const int slot = static_cast<int>(listeners_.size());
  listeners_.push_back(std::move(onWake));
  HWND window = hwnd();
  return Listening(this, slot, [window, slot] { return PostMessageW(window, kWake, slot, 0) != FALSE; });
}

void MessageWindow::Forget(int slot) {
  if (slot >= 0 && static_cast<size_t>(slot) < listeners_.size()) listeners_[slot] = nullptr;
}

LRESULT MessageWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kWake) {
    if (wParam < listeners_.size() && listeners_[wParam]) {
      const std::function<void()> listener = listeners_[wParam];  // it may stop listening as it runs
      listener();
    }
    return 0;
  }
  if (OnMessage && OnMessage(msg, wParam, lParam)) return 0;
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace ui
