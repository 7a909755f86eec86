#pragma once
// A hidden window that is nobody's view: it gives timers their ticks, wakes
// the parts that work in the background, and takes messages meant for the
// program rather than for a window the user sees (the tray icon's, the
// shell's, a second start's). It is a top-level window, never shown, not a
// message-only one: those never receive what the system broadcasts to
// top-level windows ("TaskbarCreated", the end of the session).
#include <windows.h>

#include <functional>
#include <vector>

#include "base/mailbox.h"
#include "ui/window.h"

namespace ui {

class MessageWindow final : public Window, public base::Mailbox {
 public:
  explicit MessageWindow(const wchar_t* className);

  Listening Listen(std::function<void()> onWake) override;

  // Any other message: true when handled.
  std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam)> OnMessage;

 private:
  void Forget(int slot) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  std::vector<std::function<void()>> listeners_;  // by slot; empty once forgotten
};

}  // namespace ui
