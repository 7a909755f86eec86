#include "alerts/drives.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/decimal.h"
#include "base/scoped.h"

namespace alerts {
namespace {

// What the drives were told and what came of it goes to the debugger output,
// where a support engineer (and the end-to-end tests) can see it.
void Trace(const std::string& line) { OutputDebugStringA(("Postlark: " + line + "\n").c_str()); }

class WinmmChannel final : public MciChannel {
 public:
  DWORD SendString(const char* command, char* reply, UINT replyChars) override {
    // winmm is loaded on the first command: most runs never open the tray.
    using SendStringFn = MCIERROR(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
    static const auto send = reinterpret_cast<SendStringFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"winmm.dll"), "mciSendStringA")));
    const MCIERROR result = send ? send(command, reply, replyChars, nullptr) : MCIERR_DEVICE_NOT_INSTALLED;
    Trace("mci \"" + std::string(command) + "\" -> " + base::DecimalA(result));
    return result;
  }
};

class RealDrives final : public Machine {
 public:
  void Beep() override { SystemBeep(); }
  void OpenCdTray() override { alerts::OpenCdTray(); }
  void FlashFloppyDrive() override { alerts::FlashFloppyDrive(); }
};

}  // namespace

std::shared_ptr<Machine> RealMachine() { return std::make_shared<RealDrives>(); }

MciChannel& RealMci() {
  static WinmmChannel channel;
  return channel;
}

void SystemBeep() { Beep(300, 150); }

void OpenCdTray(MciChannel& mci) { mci.SendString("set cdaudio door open", nullptr, 0); }

void CloseCdTray(MciChannel& mci) { mci.SendString("set cdaudio door closed", nullptr, 0); }

std::string GetCdTrayMode(MciChannel& mci) {
  std::string reply(255, ' ');
  mci.SendString("status cdaudio mode", reply.data(), 255);
  reply = reply.substr(0, reply.find('\0'));
  const size_t first = reply.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return reply.substr(first, reply.find_last_not_of(' ') - first + 1);
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

}  // namespace alerts
