#include "presence/presence.h"

#include <limits>
#include <string>

#include "base/decimal.h"

namespace presence {
namespace {

class Win32Input final : public InputState {
 public:
  BOOL GetCursorPos(POINT* point) override { return ::GetCursorPos(point); }
  SHORT GetAsyncKeyState(int vk) override { return ::GetAsyncKeyState(vk); }
};

}  // namespace

InputState& RealInput() {
  static Win32Input input;
  return input;
}

base::Flag16 ActivityProbe::UserIsActive() {
  // An unreadable position leaves the last one standing: not moved.
  POINT now = mptLastCursor;
  input_.GetCursorPos(&now);
  if (now.x != mptLastCursor.x || now.y != mptLastCursor.y) {
    mptLastCursor = now;
    return base::kTrue;
  }
  for (int vk = 0; vk <= 255; ++vk)
    if (static_cast<USHORT>(input_.GetAsyncKeyState(vk)) & 0x8001) return base::kTrue;
  return base::kFalse;
}

PresenceWatch::PresenceWatch(ActivityProbe& probe, std::function<alerts::AnimationWindow*()> anim)
    : probe_(probe), anim_(std::move(anim)) {
  timIdleCheck.Tick = [this] { timIdleCheck_Timer(); };
}

void PresenceWatch::timIdleCheck_Timer() {
  lblStatus_ = lblStatus_ == kStatusActive ? kStatusBlink : kStatusActive;

  if (probe_.UserIsActive() == base::kFalse) {
    if (mbIdle == base::kFalse) {
      mlIdleTicks = 0;
      mbIdle = base::kTrue;
    } else if (mlIdleTicks < std::numeric_limits<std::int32_t>::max()) {
      ++mlIdleTicks;
    }
  } else {
    alerts::AnimationWindow* anim = anim_();
    if (anim && anim->playAnimTimes() > 0 && mbIdle == base::kTrue) {
      anim->set_playAnimTimes(0);
      anim->timedShutdownBegin();
    }
    mbIdle = base::kFalse;
  }

  if (Shown) Shown(lblStatus_, mbIdle == base::kTrue ? L"Idle (" + base::DecimalW(mlIdleTicks) + L")" : L"");
}

}  // namespace presence
