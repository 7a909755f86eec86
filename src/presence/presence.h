#pragma once
// Whether the user is at the machine. Once a second the status line blinks,
// the pointer and the keys are looked at, and an idle count is kept; when the
// user comes back while the clip still has plays left, the plays are cancelled
// and the animation window hides.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "alerts/animation.h"
#include "base/flag.h"
#include "ui/timer.h"

namespace presence {

class InputState {
 public:
  virtual ~InputState() = default;
  virtual BOOL GetCursorPos(POINT* point) = 0;
  virtual SHORT GetAsyncKeyState(int vk) = 0;
};

InputState& RealInput();

// Activity since the last look: the pointer moved, or a key or button is down
// or was pressed. Keeps the last pointer position it saw, which starts at
// (0, 0).
class ActivityProbe {
 public:
  explicit ActivityProbe(InputState& input = RealInput()) : input_(input) {}
  base::Flag16 UserIsActive();

 private:
  InputState& input_;
  POINT mptLastCursor{0, 0};
};

inline constexpr wchar_t kStatusActive[] = L"Status: ACTIVE";
inline constexpr wchar_t kStatusBlink[] = L"Status:";
// Idle seconds after which the user counts as away.
inline constexpr std::int32_t kAwayIdleTicks = 10;

class PresenceWatch {
 public:
  // anim may return null before the animation window exists.
  PresenceWatch(ActivityProbe& probe, std::function<alerts::AnimationWindow*()> anim);
  PresenceWatch(const PresenceWatch&) = delete;
  PresenceWatch& operator=(const PresenceWatch&) = delete;

  // Ticks on the host from the main window's load on, shown or hidden.
  void HostTimers(ui::TimerHost& host) { host.Host(timIdleCheck); }
  // Start-up: the user is at the machine.
  void Start() { mbIdle = base::kFalse; }
  // Idle for more than kAwayIdleTicks seconds in the current spell.
  bool UserAway() const { return mbIdle != base::kFalse && mlIdleTicks > kAwayIdleTicks; }

  // After every tick: the status line and the idle counter ("Idle (N)" or
  // empty), for the window to show.
  std::function<void(const std::wstring& status, const std::wstring& idle)> Shown;

 private:
  void timIdleCheck_Timer();

  ActivityProbe& probe_;
  std::function<alerts::AnimationWindow*()> anim_;
  ui::Timer timIdleCheck{1000, true};
  std::wstring lblStatus_;
  base::Flag16 mbIdle = base::kFalse;
  std::int32_t mlIdleTicks = 0;
};

}  // namespace presence
