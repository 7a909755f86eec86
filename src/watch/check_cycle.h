#pragma once
// The once-a-second mail check and the alert it raises. While watching, the
// check timer asks every mail source that is on to look; a find raises the
// alert: each effect the user ticked, in the order given, then 15 ticks of
// one second during which nothing is looked for and the flash effects repeat
// every five seconds. Mail found while the cycle cannot alert (during an
// alert, while the user presents, while alerts are paused) waits for the
// first tick that can: deferred, never dropped.
#include <functional>
#include <vector>

#include "alerts/alert_effect.h"
#include "ui/timer.h"
#include "watch/mail_source.h"

namespace watch {

class CheckCycle {
 public:
  static constexpr int kAlertTicks = 15;

  // hold: true while alerts wait (the user presents, or paused them); a
  // source whose look takes the mail is not asked then, so Outlook keeps
  // its envelope, and what the others find waits.
  CheckCycle(std::vector<MailSource*> sources, std::vector<alerts::AlertEffect*> effects,
             std::function<bool()> hold);
  CheckCycle(const CheckCycle&) = delete;
  CheckCycle& operator=(const CheckCycle&) = delete;

  // The three timers tick on the host from now on.
  void HostTimers(ui::TimerHost& host);
  // Start-up: watching, with no mail and no alert.
  void Start();
  // The alerts the user ticked, as for mail, without looking for any; not
  // during an alert.
  void TestAlert();
  // Watching for mail, not in an alert.
  bool Watching() const { return checkTimer_.Enabled(); }

  // An alert has begun: for mail from that source, or (null) a test.
  std::function<void(const MailSource* from)> Alerted;

 private:
  void Check();
  void Found(const MailSource& source);
  void Alert(const MailSource* from);
  void Flash();
  void CountAlertTick();

  std::vector<MailSource*> sources_;
  std::vector<alerts::AlertEffect*> effects_;
  bool Holding() const { return hold_ && hold_(); }

  std::function<bool()> hold_;
  // Watching: checkTimer_ runs. Alerting: flashTimer_ and alertTimer_ run.
  ui::Timer checkTimer_{1000}, flashTimer_{5000}, alertTimer_{1000};
  // Mail found and not yet alerted: the source that found it first.
  const MailSource* mailPending_ = nullptr;
  bool looking_ = false;  // the sources are being asked: one alert after all
  int alertTicks_ = 0;    // of the current alert, 0 to 15
};

}  // namespace watch
