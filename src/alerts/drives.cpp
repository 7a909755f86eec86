#include "alerts/drives.h"

#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "base/background.h"
#include "base/decimal.h"
#include "base/scoped.h"
#include "base/system_dll.h"

namespace alerts {
namespace {

// What the drives were told and what came of it goes to the debugger output,
// where a support engineer (and the end-to-end tests) can see it.
void Trace(const std::string& line) { OutputDebugStringA(("Postlark: " + line + "\n").c_str()); }

class RealDrives final : public Machine {
 public:
  void Beep() override { ::Beep(300, 150); }
  void OpenCdTray() override { alerts::OpenCdTray(); }
  void FlashFloppyDrive() override { alerts::FlashFloppyDrive(); }
};

}  // namespace

std::shared_ptr<Machine> RealMachine() { return std::make_shared<RealDrives>(); }

void OpenCdTray() {
  // winmm is loaded on the first command: most runs never open the tray.
  // No static: this runs on the pool's threads.
  using SendStringFn = MCIERROR(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
  const auto send = base::SystemProc<SendStringFn>(L"winmm.dll", "mciSendStringA");
  const char command[] = "set cdaudio door open";
  const MCIERROR result = send ? send(command, nullptr, 0, nullptr) : MCIERR_DEVICE_NOT_INSTALLED;
  Trace("mci \"" + std::string(command) + "\" -> " + base::DecimalA(result));
}

void FlashFloppyDrive(const char* path) {
  // The access is what lights the drive; what is in the file does not
  // matter. A large file (A: may be a big USB drive) is read no further
  // than kFloppyReadLimit.
  long long bytes = 0;
  {
    // The process runs with SEM_FAILCRITICALERRORS, so an empty drive fails
    // the open instead of asking the user to insert a disk.
    const base::UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    char buffer[4096];
    DWORD read = 0;
    while (file && bytes < kFloppyReadLimit &&
           ReadFile(file.get(), buffer, static_cast<DWORD>(std::min<long long>(sizeof buffer, kFloppyReadLimit - bytes)),
                    &read, nullptr) &&
           read > 0)
      bytes += read;
  }
  Trace("floppy \"" + std::string(path) + "\" read " + base::DecimalA(bytes) + " bytes, error mode " +
        base::DecimalA(GetErrorMode()));
}

void MachineEffect::Raise() {
  if (busy_->exchange(true)) return;
  const bool started = base::RunInBackground([machine = machine_, command = command_, busy = busy_] {
    ((*machine).*command)();
    *busy = false;
  });
  if (!started) *busy_ = false;  // the next alert tries again
}

}  // namespace alerts
