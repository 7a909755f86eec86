#include "ui/timer.h"

#include <utility>

namespace ui {

void Timer::Attach(TimerHost& host, UINT_PTR id) {
  Detach();
  host_ = &host;
  id_ = id;
  if (enabled_) host_->Arm(*this);
}

void Timer::Detach() {
  if (!host_) return;
  TimerHost* host = std::exchange(host_, nullptr);
  if (enabled_) host->Disarm(*this);
  host->Release(*this);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!host_) return;
  if (enabled_)
    host_->Arm(*this);
  else
    host_->Disarm(*this);
}

}  // namespace ui
