#pragma once
// Whether the user is at the machine. Once a second the status line blinks,
// the pointer and the keys are looked at, and an idle count is kept; when the
// user comes back while the clip still has plays left, the plays are cancelled
// and the animation window hides.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "alerts/animation.h"
#include "base/flag.h"
#include "ui/controls.h"
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
// or was pressed. Keeps the last pointer position it saw.
class ActivityProbe {
 public:
  explicit ActivityProbe(InputState& input = RealInput()) : input_(input) {}
  base::Flag16 UserIsActive();
  POINT mptLastCursor{0, 0};

 private:
  InputState& input_;
};

inline constexpr wchar_t kStatusActive[] = L"Status: ACTIVE";
inline constexpr wchar_t kStatusBlink[] = L"Status:";

class PresenceWatch {
 public:
  // anim may return null before the animation window exists.
  PresenceWatch(ui::Label& lblStatus, ui::Label& Label3, ActivityProbe& probe,
                std::function<alerts::AnimationWindow*()> anim)
      : lblStatus_(lblStatus), Label3_(Label3), probe_(probe), anim_(std::move(anim)) {
    timIdleCheck.Tick = [this] { timIdleCheck_Timer(); };
  }

  // Ticks from the main window's load on, shown or hidden.
  ui::Timer timIdleCheck{1000, true};
  void timIdleCheck_Timer();

  base::Flag16 mbIdle = base::kFalse;
  std::int32_t mlIdleTicks = 0;

 private:
  ui::Label& lblStatus_;
  ui::Label& Label3_;
  ActivityProbe& probe_;
  std::function<alerts::AnimationWindow*()> anim_;
};

}  // namespace presence
