#include "presence/presence.h"
#include "ui/decimal.h"

#include <limits>
#include <string>

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

VbBool ActivityProbe::UserIsActive() {
  // An unreadable position leaves the last one standing: not moved.
  POINT now = mptLastCursor;
  input_.GetCursorPos(&now);
  if (now.x != mptLastCursor.x || now.y != mptLastCursor.y) {
    mptLastCursor = now;
    return vbTrue;
  }
  for (int vk = 0; vk <= 255; ++vk)
    if (static_cast<USHORT>(input_.GetAsyncKeyState(vk)) & 0x8001) return vbTrue;
  return vbFalse;
}

void PresenceWatch::timIdleCheck_Timer() {
  lblStatus_.SetText(lblStatus_.Text() == kStatusActive ? kStatusBlink : kStatusActive);

  if (probe_.UserIsActive() == vbFalse) {
    if (mbIdle == vbFalse) {
      mlIdleTicks = 0;
      mbIdle = vbTrue;
    } else if (mlIdleTicks < std::numeric_limits<std::int32_t>::max()) {
      ++mlIdleTicks;
    }
  } else {
    AnimationWindow* anim = anim_();
    if (anim && anim->playAnimTimes() > 0 && mbIdle == vbTrue) {
      anim->set_playAnimTimes(0);
      anim->timedShutdownBegin();
    }
    mbIdle = vbFalse;
  }

  Label3_.SetText(mbIdle == vbTrue ? L"Idle (" + ui::DecimalW(mlIdleTicks) + L")" : L"");
}
