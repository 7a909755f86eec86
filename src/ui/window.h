#pragma once
// Base of Postlark's windows: one static window procedure binds the C++
// object at WM_NCCREATE and forwards every message to HandleMessage. The
// window hosts timers: their WM_TIMER ticks are dispatched here, so
// subclasses never see WM_TIMER.
#include <windows.h>

#include <vector>

#include "ui/timer.h"

namespace ui {

class Window : public TimerHost {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Lets go of its timers and destroys the window if it is still there.
  ~Window() override;

  HWND hwnd() const { return hwnd_; }
  // Ids are handed out in order of hosting. Host timers once the window exists.
  void Host(Timer& timer) override;

 protected:
  static bool RegisterClassOnce(const wchar_t* className, HICON icon, HBRUSH background);
  bool Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title, int x,
              int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Arm(Timer& timer) override;
  void Disarm(Timer& timer) override;
  void Release(Timer& timer) override;
  void ReleaseTimers();

  HWND hwnd_ = nullptr;
  UINT_PTR lastTimerId_ = 0;
  std::vector<Timer*> timers_;
};

}  // namespace ui
