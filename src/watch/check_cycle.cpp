#include "watch/check_cycle.h"

#include <utility>

namespace watch {

CheckCycle::CheckCycle(std::vector<MailSource*> sources, std::vector<alerts::AlertEffect*> effects,
                       std::function<bool()> hold)
    : sources_(std::move(sources)), effects_(std::move(effects)), hold_(std::move(hold)) {
  for (MailSource* source : sources_) source->Found = [this, source] { Found(*source); };
  checkTimer_.Tick = [this] { Check(); };
  flashTimer_.Tick = [this] { Flash(); };
  alertTimer_.Tick = [this] { CountAlertTick(); };
}

void CheckCycle::HostTimers(ui::TimerHost& host) {
  host.Host(checkTimer_);
  host.Host(flashTimer_);
  host.Host(alertTimer_);
}

void CheckCycle::Start() {
  mailPending_ = nullptr;
  alertTicks_ = 0;
  checkTimer_.SetEnabled(true);
  flashTimer_.SetEnabled(false);
  alertTimer_.SetEnabled(false);
}

void CheckCycle::Check() {
  const bool holding = Holding();
  // Mail already found (by a source that answered while the cycle could not
  // alert) alerts before anything new is looked for.
  if (!mailPending_) {
    looking_ = true;
    for (MailSource* source : sources_) {
      if (holding && source->Takes()) continue;
      source->On() ? source->Look() : source->Rest();
    }
    looking_ = false;
  }
  if (mailPending_ && !holding) Alert(mailPending_);
}

void CheckCycle::Found(const MailSource& source) {
  if (!mailPending_) mailPending_ = &source;
  if (!looking_ && Watching() && !Holding()) Alert(mailPending_);
}

void CheckCycle::TestAlert() {
  if (!Watching()) return;
  // Mail found while the user wanted quiet still alerts after the test.
  const MailSource* owed = mailPending_;
  Alert(nullptr);
  mailPending_ = owed;
}

void CheckCycle::Alert(const MailSource* from) {
  mailPending_ = nullptr;
  alertTicks_ = 0;
  checkTimer_.SetEnabled(false);
  flashTimer_.SetEnabled(true);
  alertTimer_.SetEnabled(true);
  if (Alerted) Alerted(from);
  for (alerts::AlertEffect* effect : effects_)
    if (effect->On()) effect->Raise();
}

void CheckCycle::Flash() {
  for (alerts::AlertEffect* effect : effects_)
    if (effect->On()) effect->Repeat();
}

void CheckCycle::CountAlertTick() {
  if (alertTicks_ < kAlertTicks) ++alertTicks_;
  if (alertTicks_ == kAlertTicks) {
    checkTimer_.SetEnabled(true);
    flashTimer_.SetEnabled(false);
    alertTimer_.SetEnabled(false);
  }
}

}  // namespace watch
