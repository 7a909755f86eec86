#pragma once
// One of the alerts new mail raises: the beep, the CD door, the clip, the
// floppy light, and whatever comes next. Each returns at once, whatever the
// drives, the clip or the options hold: slow work is its own business.
namespace alerts {

class AlertEffect {
 public:
  virtual ~AlertEffect() = default;
  // The user has it on, at the moment of the alert.
  virtual bool On() const = 0;
  // An alert begins.
  virtual void Raise() = 0;
  // Every five seconds while the alert lasts.
  virtual void Repeat() {}
};

}  // namespace alerts
