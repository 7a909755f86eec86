#pragma once
// A timer with the two properties Postlark's handlers use: Enabled and
// Interval. Enabling a stopped timer starts a fresh interval; enabling a
// running one changes nothing. A host gives the timer its ticks: a window
// (WM_TIMER), or a test's clock. Without a host the timer is only its state.
#include <windows.h>

#include <functional>

namespace ui {

class Timer;

// Whoever delivers the ticks of the timers given to it.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  // The timer now ticks here, from its next enabling (or at once if enabled).
  virtual void Host(Timer& timer) = 0;

 protected:
  friend class Timer;
  virtual void Arm(Timer& timer) = 0;
  virtual void Disarm(Timer& timer) = 0;
  // The timer is going: forget it.
  virtual void Release(Timer& timer) = 0;
};

class Timer {
 public:
  explicit Timer(UINT intervalMs, bool enabled = false) : interval_(intervalMs), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { Detach(); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }

  // For hosts: bind to a host under an id of its choosing, and leave it.
  void Attach(TimerHost& host, UINT_PTR id);
  void Detach();
  UINT_PTR Id() const { return id_; }
  // A tick from the host; nothing while disabled.
  void Fire() {
    if (enabled_ && Tick) Tick();
  }

  std::function<void()> Tick;

 private:
  UINT interval_;
  bool enabled_;
  TimerHost* host_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace ui
