#pragma once
// The once-a-second mail check and the alert it raises. While watching,
// timCheckMail looks for mail: the marker file when that option is on, else
// Outlook's envelope. A find sets the mail flag, and the flag raises the
// alert: DispatchAlerts raises the ticked alerts and holds the checks off
// for the 15 ticks of one alert. Sources that answer later (the marker
// lookup) report through MailFound; mail found while the cycle cannot alert
// waits in the flag for the first tick that can.
#include <cstdint>

#include "base/flag.h"
#include "ui/timer.h"

namespace watch {

// Where the cycle looks for mail.
class MailSources {
 public:
  virtual ~MailSources() = default;
  // True while the user presents and wants quiet: no look and no alert this
  // tick, so Outlook keeps its envelope and found mail waits.
  virtual bool Quiet() = 0;
  // True when the envelope was found and removed.
  virtual bool CheckOutlookTray() = 0;
  // Starts a look for the marker; a find comes back through MailFound.
  virtual void CheckMarkerFile() = 0;
  // The marker is not watched this tick.
  virtual void MarkerOff() = 0;
  // Windows' toasts, beside the envelope or the marker: true when a read
  // that has finished found mail; a later find comes through MailFound.
  virtual bool CheckNotifications() = 0;
};

// The effects the alert raises. Each returns normally whatever the drives,
// the clip or the options hold.
class AlertEffects {
 public:
  virtual ~AlertEffects() = default;
  virtual void Beep() = 0;
  virtual void OpenCdTray() = 0;
  // -1: top right, 0: top left.
  virtual void StartAnimation(std::int32_t left_pos) = 0;
  virtual void FlashFloppyDrive() = 0;
  // The stored option says top right.
  virtual bool AnimRight() = 0;
  // An alert (for mail or a test) has begun.
  virtual void AlertRaised() = 0;
};

// The options the cycle reads, at the moment of use.
struct CycleOptions {
  const std::int16_t& FileDetect;
  const std::int16_t& Beep;
  const std::int16_t& Eject;
  const std::int16_t& Anim;
  const std::int16_t& FlashDrive;
};

class CheckCycle {
 public:
  static constexpr std::int16_t kAlertTicks = 15;

  CheckCycle(CycleOptions options, MailSources& sources, AlertEffects& effects);
  CheckCycle(const CheckCycle&) = delete;
  CheckCycle& operator=(const CheckCycle&) = delete;

  // The three timers tick on the host from now on.
  void HostTimers(ui::TimerHost& host);
  // Start-up: watching, with no mail and no alert.
  void Start();
  // A source that answers later found mail.
  void MailFound();
  // The alerts the user ticked, as for mail, without looking for any; not
  // during an alert.
  void TestAlert();
  // Watching for mail, not in an alert.
  bool Watching() const { return timCheckMail.Enabled(); }

 private:
  void timCheckMail_Timer();
  void timFlash_Timer();
  void timFlashDuration_Timer();
  void DispatchAlerts();

  CycleOptions options_;
  MailSources& sources_;
  AlertEffects& effects_;
  // Watching: timCheckMail runs. Alerting: timFlash and timFlashDuration run.
  ui::Timer timCheckMail{1000}, timFlash{5000}, timFlashDuration{1000};
  // Mail found and not yet alerted.
  base::Flag16 gbMailArrived = base::kFalse;
  // Ticks of the current alert, 0 to 15.
  std::int16_t glDurationTick = 0;
};

}  // namespace watch
