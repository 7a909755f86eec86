#include "ui/timer.h"

namespace ui {

Timer::~Timer() { Detach(); }

void Timer::Attach(HWND owner, UINT_PTR id) {
  owner_ = owner;
  id_ = id;
  Apply();
}

void Timer::Detach() {
  if (owner_ && enabled_) KillTimer(owner_, id_);
  owner_ = nullptr;
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  if (!owner_) return;
  if (enabled_)
    SetTimer(owner_, id_, interval_, nullptr);
  else
    KillTimer(owner_, id_);
}

}  // namespace ui
