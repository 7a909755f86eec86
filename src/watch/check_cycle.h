#pragma once
// The once-a-second mail check and the alert it raises. While watching,
// timCheckMail looks for mail (the marker file when chkFileDetect is ticked,
// else Outlook's envelope); a find runs DispatchAlerts, which raises the
// ticked alerts and holds the checks off for the 15 ticks of one alert.
#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/timer.h"

namespace watch {

// What the cycle looks for mail with; each is true on a find.
class MailSources {
 public:
  virtual ~MailSources() = default;
  // True while the user presents and wants quiet: no look this tick, so
  // Outlook keeps its envelope and the marker stays until the next tick
  // after, which finds them.
  virtual bool Quiet() = 0;
  virtual bool CheckOutlookTray() = 0;
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
  // An alert (for mail or a test) has begun.
  virtual void AlertRaised() = 0;
};

// The options the cycle reads, live, at the moment of use.
struct CycleOptions {
  const ui::CheckBox& chkFileDetect;
  const ui::TextBox& txtFileDetect;
  const ui::CheckBox& chkBeep;
  const ui::CheckBox& chkEject;
  const ui::CheckBox& chkAnim;
  const ui::CheckBox& chkFlashDrive;
};

class CheckCycle {
 public:
  static constexpr std::int16_t kAlertTicks = 15;

  CheckCycle(CycleOptions options, MailSources& sources, AlertEffects& effects);

  // Watching: timCheckMail runs. Alerting: timFlash and timFlashDuration run.
  ui::Timer timCheckMail{1000}, timFlash{5000}, timFlashDuration{1000};

  void timCheckMail_Timer();
  void timFlash_Timer();
  void timFlashDuration_Timer();
  // The alerts the user ticked, as for mail, without looking for any; not
  // during an alert.
  void TestAlert();

  // Ticks of the current alert, 0 to 15.
  std::int16_t glDurationTick = 0;

 private:
  void DispatchAlerts();

  CycleOptions options_;
  MailSources& sources_;
  AlertEffects& effects_;
};

}  // namespace watch
