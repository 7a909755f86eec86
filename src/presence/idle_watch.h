#pragma once
// Whether the user is at the machine. Once a second the pointer and the keys
// are looked at and an idle count is kept; the status line blinks to show
// that Postlark is running, with the idle count beside it. What the user's
// return means for a clip is not presence's business: it only says so.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

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
  bool UserIsActive();

 private:
  InputState& input_;
  POINT lastCursor_{0, 0};
};

// Idle seconds after which the user counts as away.
inline constexpr std::int32_t kAwayIdleTicks = 10;

// The two labels of the status line.
struct StatusLine {
  std::wstring status;  // "Status: ACTIVE", then "Status:", blinking
  std::wstring idle;    // "Idle (N)" while idle, else empty
};
StatusLine StatusText(bool blinkOn, bool idle, std::int32_t idleTicks);

class IdleWatch {
 public:
  explicit IdleWatch(ActivityProbe& probe);
  IdleWatch(const IdleWatch&) = delete;
  IdleWatch& operator=(const IdleWatch&) = delete;

  // Ticks on the host from start-up on, with the options window shown or not.
  void HostTimers(ui::TimerHost& host) { host.Host(idleTimer_); }
  // Idle for more than kAwayIdleTicks seconds in the current spell.
  bool UserAway() const { return idle_ && idleTicks_ > kAwayIdleTicks; }

  // The first active tick after an idle spell.
  std::function<void()> Returned;
  // After every tick, the status line to show.
  std::function<void(const StatusLine&)> Ticked;

 private:
  void Tick();

  ActivityProbe& probe_;
  ui::Timer idleTimer_{1000, true};
  bool blinkOn_ = false;
  bool idle_ = false;
  // Ticks of the current idle spell after its first; kept after it ends.
  std::int32_t idleTicks_ = 0;
};

}  // namespace presence
