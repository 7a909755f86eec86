#pragma once
// The alerts that act on the machine itself: the beep, the CD tray, which
// opens through MCI, and the floppy light, which comes on because Postlark
// reads a file from A:. None reports anything or fails visibly.
#include <windows.h>

#include <memory>
#include <string>

namespace alerts {

// MCI as the drive alerts use it: a command string, a reply buffer and its
// length in characters. Returns the MCI error code.
class MciChannel {
 public:
  virtual ~MciChannel() = default;
  virtual DWORD SendString(const char* command, char* reply, UINT replyChars) = 0;
};

// winmm's mciSendStringA. Each command and its result also go to the
// debugger output, so a support engineer can see what the drive was told.
MciChannel& RealMci();

// 300 Hz for 150 ms; silent on a machine without a sound device.
void SystemBeep();

// The machine's own alerts as the alert raises them: the beep, the CD tray,
// the floppy light.
class Machine {
 public:
  virtual ~Machine() = default;
  virtual void Beep() = 0;
  virtual void OpenCdTray() = 0;
  virtual void FlashFloppyDrive() = 0;
};

std::shared_ptr<Machine> RealMachine();

inline constexpr char kFloppyProbeFile[] = "a:\\dummyfile";

void OpenCdTray(MciChannel& mci = RealMci());
void CloseCdTray(MciChannel& mci = RealMci());
std::string GetCdTrayMode(MciChannel& mci = RealMci());

inline constexpr long long kFloppyReadLimit = 64 * 1024;

// Reads the probe file to its end, or to kFloppyReadLimit; every failure
// (no drive, no disk, not ready, no file) ends it silently.
void FlashFloppyDrive(const char* path = kFloppyProbeFile);

}  // namespace alerts
