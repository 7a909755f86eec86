#include "alerts/drives.h"
#include "ui/decimal.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>

namespace {

class WinmmChannel final : public MciChannel {
 public:
  DWORD SendString(const char* command, char* reply, UINT replyChars) override {
    // winmm is loaded on the first command: most runs never open the tray.
    using SendStringFn = MCIERROR(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
    static const auto send = reinterpret_cast<SendStringFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"winmm.dll"), "mciSendStringA")));
    const MCIERROR result = send ? send(command, reply, replyChars, nullptr) : MCIERR_DEVICE_NOT_INSTALLED;
    const std::string trace =
        "Postlark: mci \"" + std::string(command) + "\" -> " + ui::DecimalA(result) + "\n";
    OutputDebugStringA(trace.c_str());
    return result;
  }
};

// Closes the handle on every path out of the read.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

}  // namespace

MciChannel& RealMci() {
  static WinmmChannel channel;
  return channel;
}

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
  // The process runs with SEM_FAILCRITICALERRORS, so an empty drive fails
  // the open instead of asking the user to insert a disk.
  FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return;
  char c;
  DWORD read = 0;
  while (ReadFile(file.get(), &c, 1, &read, nullptr) && read == 1) {
  }
}
