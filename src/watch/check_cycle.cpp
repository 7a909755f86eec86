#include "watch/check_cycle.h"

namespace watch {

using base::IsTicked;

CheckCycle::CheckCycle(CycleOptions options, MailSources& sources, AlertEffects& effects)
    : options_(options), sources_(sources), effects_(effects) {
  timCheckMail.Tick = [this] { timCheckMail_Timer(); };
  timFlash.Tick = [this] { timFlash_Timer(); };
  timFlashDuration.Tick = [this] { timFlashDuration_Timer(); };
}

void CheckCycle::HostTimers(ui::TimerHost& host) {
  host.Host(timCheckMail);
  host.Host(timFlash);
  host.Host(timFlashDuration);
}

void CheckCycle::Start() {
  gbMailArrived = base::kFalse;
  glDurationTick = 0;
  timCheckMail.SetEnabled(true);
  timFlash.SetEnabled(false);
  timFlashDuration.SetEnabled(false);
}

void CheckCycle::timCheckMail_Timer() {
  if (sources_.Quiet()) return;
  // Mail already found (by a lookup that answered while the cycle could not
  // alert) alerts before anything new is looked for.
  if (gbMailArrived != base::kTrue) {
    if (IsTicked(options_.FileDetect)) {
      sources_.CheckMarkerFile();
    } else {
      sources_.MarkerOff();
      if (sources_.CheckOutlookTray()) gbMailArrived = base::kTrue;
    }
    if (sources_.CheckNotifications()) gbMailArrived = base::kTrue;
  }
  if (gbMailArrived == base::kTrue) DispatchAlerts();
}

void CheckCycle::MailFound() {
  gbMailArrived = base::kTrue;
  if (Watching() && !sources_.Quiet()) DispatchAlerts();
}

void CheckCycle::TestAlert() {
  if (!Watching()) return;
  // Mail found while the user wanted quiet still alerts after the test.
  const base::Flag16 owed = gbMailArrived;
  DispatchAlerts();
  gbMailArrived = owed;
}

void CheckCycle::DispatchAlerts() {
  effects_.AlertRaised();
  if (IsTicked(options_.Beep)) effects_.Beep();
  if (IsTicked(options_.Eject)) effects_.OpenCdTray();
  if (IsTicked(options_.Anim)) effects_.StartAnimation(effects_.AnimRight() ? -1 : 0);
  glDurationTick = 0;
  timCheckMail.SetEnabled(false);
  timFlash.SetEnabled(true);
  timFlashDuration.SetEnabled(true);
  gbMailArrived = base::kFalse;
  // Last, so a slow floppy holds up none of the other alerts.
  if (IsTicked(options_.FlashDrive)) effects_.FlashFloppyDrive();
}

void CheckCycle::timFlash_Timer() {
  if (IsTicked(options_.FlashDrive)) effects_.FlashFloppyDrive();
}

void CheckCycle::timFlashDuration_Timer() {
  if (glDurationTick < kAlertTicks) ++glDurationTick;
  if (glDurationTick == kAlertTicks) {
    timCheckMail.SetEnabled(true);
    timFlash.SetEnabled(false);
    timFlashDuration.SetEnabled(false);
  }
}

}  // namespace watch
