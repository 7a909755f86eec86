#include "watch/check_cycle.h"

#include "ui/vb_types.h"
#include "watch/envelope_probe.h"

void CheckCycle::timCheckMail_Timer() {
  if (c_.chkFileDetect.Value() == vbChecked) {
    if (!sources_.CheckMarkerFile(c_.txtFileDetect.Text())) return;
  } else {
    sources_.CheckOutlookTray();
    if (Module1::gbMailArrived != vbTrue) return;
  }
  DispatchAlerts();
}

void CheckCycle::DispatchAlerts() {
  if (c_.chkBeep.Value() == vbChecked) effects_.Beep();
  if (c_.chkEject.Value() == vbChecked) effects_.OpenCdTray();
  if (c_.chkAnim.Value() == vbChecked)
    effects_.StartAnimation(effects_.StoredAnimRight() == L"1" ? -1 : 0);
  glDurationTick = 0;
  c_.timCheckMail.SetEnabled(false);
  c_.timFlash.SetEnabled(true);
  c_.timFlashDuration.SetEnabled(true);
  Module1::gbMailArrived = vbFalse;
  // Last, so a slow floppy holds up none of the other alerts.
  if (c_.chkFlashDrive.Value() == vbChecked) effects_.FlashFloppyDrive();
}

void CheckCycle::timFlash_Timer() {
  if (c_.chkFlashDrive.Value() == vbChecked) effects_.FlashFloppyDrive();
}

void CheckCycle::timFlashDuration_Timer() {
  if (glDurationTick < kAlertTicks) ++glDurationTick;
  if (glDurationTick == kAlertTicks) {
    c_.timCheckMail.SetEnabled(true);
    c_.timFlash.SetEnabled(false);
    c_.timFlashDuration.SetEnabled(false);
  }
}
