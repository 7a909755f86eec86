#pragma once
// Base of Postlark's windows: one static window procedure binds the C++
// object at WM_NCCREATE and forwards every message to HandleMessage. Timers
// given with AddTimer are dispatched here, so subclasses never see WM_TIMER.
// No exception crosses into Windows: one that reaches the boundary is
// dropped there and the message gets its default handling.
#include <windows.h>

#include <vector>

#include "ui/timer.h"

namespace ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it is still there. The derived window's timers
  // are gone by now and are not touched: destroying the window ends them.
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

 protected:
  static bool RegisterClassOnce(const wchar_t* className, HICON icon, HBRUSH background);
  bool Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title, int x,
              int y, int width, int height, HWND parent);

  // Give the timer to this window; ids are handed out in order of adding.
  void AddTimer(Timer& timer);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Called once the window is gone: the object no longer owns a handle.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  std::vector<Timer*> timers_;
};

}  // namespace ui
