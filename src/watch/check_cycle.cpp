#include "watch/check_cycle.h"

#include "base/flag.h"
#include "watch/envelope_probe.h"

namespace watch {

CheckCycle::CheckCycle(CycleOptions options, MailSources& sources, AlertEffects& effects)
    : options_(options), sources_(sources), effects_(effects) {
  timCheckMail.Tick = [this] { timCheckMail_Timer(); };
  timFlash.Tick = [this] { timFlash_Timer(); };
  timFlashDuration.Tick = [this] { timFlashDuration_Timer(); };
}

void CheckCycle::timCheckMail_Timer() {
  if (sources_.Quiet()) return;
  const bool found = options_.chkFileDetect.Value() == base::kTicked
                         ? sources_.CheckMarkerFile(options_.txtFileDetect.Text())
                         : sources_.CheckOutlookTray();
  if (found) DispatchAlerts();
}

void CheckCycle::TestAlert() {
  if (timCheckMail.Enabled()) DispatchAlerts();
}

void CheckCycle::DispatchAlerts() {
  effects_.AlertRaised();
  if (options_.chkBeep.Value() == base::kTicked) effects_.Beep();
  if (options_.chkEject.Value() == base::kTicked) effects_.OpenCdTray();
  if (options_.chkAnim.Value() == base::kTicked)
    effects_.StartAnimation(effects_.StoredAnimRight() == L"1" ? -1 : 0);
  glDurationTick = 0;
  timCheckMail.SetEnabled(false);
  timFlash.SetEnabled(true);
  timFlashDuration.SetEnabled(true);
  Module1::gbMailArrived = base::kFalse;
  // Last, so a slow floppy holds up none of the other alerts.
  if (options_.chkFlashDrive.Value() == base::kTicked) effects_.FlashFloppyDrive();
}

void CheckCycle::timFlash_Timer() {
  if (options_.chkFlashDrive.Value() == base::kTicked) effects_.FlashFloppyDrive();
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
