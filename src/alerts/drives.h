#pragma once
// The alerts that act on the machine itself: the beep, the CD tray, which
// opens through MCI, and the floppy light, which comes on because Postlark
// reads a file from A:. None reports anything or fails visibly, and none
// holds up the window: a drive may take seconds to answer, or never answer.
#include <windows.h>

#include <atomic>
#include <memory>

#include "alerts/alert_effect.h"

namespace alerts {

// The machine's own alerts. Called from a background thread.
class Machine {
 public:
  virtual ~Machine() = default;
  virtual void Beep() = 0;
  virtual void OpenCdTray() = 0;
  virtual void FlashFloppyDrive() = 0;
};

std::shared_ptr<Machine> RealMachine();

inline constexpr char kFloppyProbeFile[] = "a:\\dummyfile";
inline constexpr long long kFloppyReadLimit = 64 * 1024;

// "set cdaudio door open", through winmm. The command and its result go to
// the debugger output, where a support engineer can see what the drive was
// told.
void OpenCdTray();
// Reads the probe file to its end, or to kFloppyReadLimit; every failure
// (no drive, no disk, not ready, no file) ends it silently.
void FlashFloppyDrive(const char* path = kFloppyProbeFile);

// One of the machine's alerts as an effect. Its command runs in the
// background, one at a time: a drive that has not answered is not told
// again until it does, so a hung drive gets no pile of commands.
class MachineEffect final : public AlertEffect {
 public:
  using Command = void (Machine::*)();
  // repeats: told again at every flash tick of the alert (the floppy light).
  MachineEffect(const bool& on, std::shared_ptr<Machine> machine, Command command, bool repeats = false)
      : on_(on), machine_(std::move(machine)), command_(command), repeats_(repeats) {}

  bool On() const override { return on_; }
  void Raise() override;
  void Repeat() override {
    if (repeats_) Raise();
  }

 private:
  const bool& on_;
  std::shared_ptr<Machine> machine_;  // shared with a command that may outlive the effect
  Command command_;
  bool repeats_;
  std::shared_ptr<std::atomic<bool>> busy_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace alerts
