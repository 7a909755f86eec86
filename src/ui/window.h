#pragma once
// Base of Postlark's two windows: one static window procedure binds the C++
// object at WM_NCCREATE and forwards every message to HandleMessage. Timers
// registered with AddTimer are dispatched here, so subclasses never see
// WM_TIMER.
#include <windows.h>

#include <vector>

#include "ui/timer.h"

namespace ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
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
