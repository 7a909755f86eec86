#pragma once
// The once-a-second mail check and the alert it raises. While watching,
// timCheckMail looks for mail (the marker file when chkFileDetect is ticked,
// else Outlook's envelope); a find runs DispatchAlerts, which raises the
// ticked alerts and holds the checks off for the 15 ticks of one alert.
#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/timer.h"

// What the cycle looks for mail with.
class MailSources {
 public:
  virtual ~MailSources() = default;
  virtual void CheckOutlookTray() = 0;  // sets Module1::gbMailArrived on a hit
  virtual bool CheckMarkerFile(const std::wstring& path) = 0;
};

// The effects the alert raises. Each returns normally whatever the drives,
// the clip or the options hold.
class AlertEffects {
 public:
  virtual ~AlertEffects() = default;
  virtual void Beep() = 0;
  virtual void OpenCdTray() = 0;
  virtual void StartAnimation(std::int32_t left_pos) = 0;
  virtual void FlashFloppyDrive() = 0;
  // The stored "AnimRight" option, default "1".
  virtual std::wstring StoredAnimRight() = 0;
};

// The main window's controls and timers that the cycle reads and drives.
struct CheckCycleControls {
  ui::CheckBox& chkFileDetect;
  ui::TextBox& txtFileDetect;
  ui::CheckBox& chkBeep;
  ui::CheckBox& chkEject;
  ui::CheckBox& chkAnim;
  ui::CheckBox& chkFlashDrive;
  ui::Timer& timCheckMail;
  ui::Timer& timFlash;
  ui::Timer& timFlashDuration;
};

class CheckCycle {
 public:
  static constexpr std::int16_t kAlertTicks = 15;

  CheckCycle(CheckCycleControls controls, MailSources& sources, AlertEffects& effects)
      : c_(controls), sources_(sources), effects_(effects) {}

  void timCheckMail_Timer();
  void timFlash_Timer();
  void timFlashDuration_Timer();

  // Ticks of the current alert, 0 to 15.
  std::int16_t glDurationTick = 0;

 private:
  void DispatchAlerts();

  CheckCycleControls c_;
  MailSources& sources_;
  AlertEffects& effects_;
};
