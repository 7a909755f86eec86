#include "presence/idle_watch.h"

#include <limits>
#include <utility>

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

bool ActivityProbe::UserIsActive() {
  // An unreadable position leaves the last one standing: not moved.
  POINT now = lastCursor_;
  input_.GetCursorPos(&now);
  if (now.x != lastCursor_.x || now.y != lastCursor_.y) {
    lastCursor_ = now;
    return true;
  }
  for (int vk = 0; vk <= 255; ++vk)
    if (static_cast<USHORT>(input_.GetAsyncKeyState(vk)) & 0x8001) return true;
  return false;
}

StatusLine StatusText(bool blinkOn, bool idle, std::int32_t idleTicks) {
  return {blinkOn ? L"Status: ACTIVE" : L"Status:", idle ? L"Idle (" + base::DecimalW(idleTicks) + L")" : L""};
}

IdleWatch::IdleWatch(ActivityProbe& probe) : probe_(probe) { idleTimer_.Tick = [this] { Tick(); }; }

void IdleWatch::Tick() {
  blinkOn_ = !blinkOn_;
  if (!probe_.UserIsActive()) {
    if (!idle_) {
      idleTicks_ = 0;
      idle_ = true;
    } else if (idleTicks_ < std::numeric_limits<std::int32_t>::max()) {
      ++idleTicks_;
    }
  } else if (std::exchange(idle_, false)) {
    if (Returned) Returned();
  }
  if (Ticked) Ticked(StatusText(blinkOn_, idle_, idleTicks_));
}

}  // namespace presence
