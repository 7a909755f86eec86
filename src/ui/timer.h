#pragma once
// A window timer with the two properties Postlark's handlers use: Enabled and
// Interval. Enabling a stopped timer starts a fresh interval; enabling a
// running one changes nothing. Without an owner window the timer is only its
// state, which is how tests drive the handlers: they call Fire() themselves.
#include <windows.h>

#include <functional>

namespace ui {

class Timer {
 public:
  explicit Timer(UINT intervalMs, bool enabled = false) : interval_(intervalMs), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Binds the timer to a window; WM_TIMER with this id then calls Fire().
  void Attach(HWND owner, UINT_PTR id);
  void Detach();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT_PTR Id() const { return id_; }

  void Fire() {
    if (enabled_ && Tick) Tick();
  }

  std::function<void()> Tick;

 private:
  void Apply();

  UINT interval_;
  bool enabled_;
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace ui
