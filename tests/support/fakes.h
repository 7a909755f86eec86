#pragma once
// Stand-ins for the parts of Postlark around the logic under test: a
// settings store in memory, simulated time for timers, a clip window that
// counts, and mail sources and alert effects that write down each call.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "alerts/alert_effect.h"
#include "base/mailbox.h"
#include "alerts/clip.h"
#include "alerts/drives.h"
#include "presence/idle_watch.h"
#include "settings/settings_store.h"
#include "ui/timer.h"
#include "watch/envelope_probe.h"
#include "watch/mail_source.h"
#include "watch/notification_list.h"

namespace testing_support {

class MemoryStore final : public settings::SettingsStore {
 public:
  std::wstring GetSetting(const std::wstring& app, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) override;
  DWORD SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override;
  // Postlark's options section, by key.
  std::wstring& operator[](const std::wstring& key) { return values[Path(key)]; }
  bool Has(const std::wstring& key) const { return values.count(Path(key)) != 0; }
  static std::wstring Path(const std::wstring& key) { return L"Postlark\\Options\\" + key; }

  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> reads;   // keys, in order
  std::vector<std::wstring> writes;  // "key=value", in order
  DWORD refusal = ERROR_SUCCESS;      // a locked-down profile: writes fail with it
};

// A mailbox for one listener: its wakes are counted, and the test delivers
// them.
class TestMailbox final : public base::Mailbox {
 public:
  Listening Listen(std::function<void()> onWake) override {
    listener_ = std::move(onWake);
    return Listening(this, 0, [this] { return ++wakes, true; });
  }
  void Deliver() {
    if (listener_) listener_();
  }
  std::atomic<int> wakes{0};

 protected:
  void Forget(int) override { listener_ = nullptr; }

 private:
  std::function<void()> listener_;
};

// Time that passes only when the test says so. Each enabled timer fires
// whenever its interval has passed; timers due at the same moment fire in
// the order they were hosted.
class FakeTimers final : public ui::TimerHost {
 public:
  void Host(ui::Timer& timer) override;
  void Advance(ULONGLONG ms);
  ULONGLONG Now() const { return now_; }

 private:
  struct Entry {
    ui::Timer* timer;
    ULONGLONG due;
  };
  void Arm(ui::Timer& timer) override;
  void Disarm(ui::Timer& timer) override;
  void Release(ui::Timer& timer) override;
  Entry* Find(ui::Timer& timer);

  std::vector<Entry> entries_;
  ULONGLONG now_ = 0;
};

// A desktop of scripted windows; the envelope probe walks it.
struct FakeWindow {
  std::string title;
  std::string cls;
  bool envelope = false;  // icon 0 registered: the delete succeeds
};

class FakeDesktop final : public watch::DesktopWindows {
 public:
  explicit FakeDesktop(std::vector<FakeWindow> windows) : windows_(std::move(windows)) {}

  void EnumTopLevel(WNDENUMPROC callback, LPARAM param) override;
  int TitleLength(HWND h) override { return static_cast<int>(At(h).title.size()); }
  void Title(HWND h, char* buffer, int count) override { Copy(At(h).title, buffer, count); }
  void ClassName(HWND h, char* buffer, int count) override { Copy(At(h).cls, buffer, count); }
  BOOL DeleteNotifyIcon(HWND h, UINT id) override;
  void Send(HWND h, UINT msg) override { sent.push_back({Index(h), msg}); }

  static HWND Handle(size_t i) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x100 + i)); }
  static size_t Index(HWND h) { return reinterpret_cast<UINT_PTR>(h) - 0x100; }
  FakeWindow& At(HWND h) { return windows_[Index(h)]; }

  std::vector<size_t> deletes;
  std::vector<std::pair<size_t, UINT>> sent;

 private:
  // As the A functions do: at most count - 1 characters and a NUL.
  static void Copy(const std::string& text, char* buffer, int count);
  std::vector<FakeWindow> windows_;
};

// Windows' toast list as the test scripts it, from the test's thread while a
// reader's thread uses it. While `hold` is set, reads wait (until their
// deadline); while `holdAccess` is set, the access check never returns.
struct ToastScript {
  std::atomic<HRESULT> open{S_OK}, readError{S_OK};
  std::atomic<watch::ToastAccess> access{watch::ToastAccess::Allowed}, requestResult{watch::ToastAccess::Allowed};
  std::atomic<bool> hold{false}, holdAccess{false};
  std::atomic<int> opens{0}, accessChecks{0}, requests{0}, reads{0};
  void SetToasts(std::vector<watch::Toast> toasts);
  std::vector<watch::Toast> Toasts();

 private:
  std::mutex lock_;
  std::vector<watch::Toast> toasts_;
};

class FakeNotificationList final : public watch::NotificationList {
 public:
  explicit FakeNotificationList(ToastScript& script) : s_(script) {}
  HRESULT Open() override { return ++s_.opens, s_.open.load(); }
  HRESULT GetAccessStatus(watch::ToastAccess* access) override;
  HRESULT RequestAccess(watch::ToastAccess* access, HANDLE stop, DWORD deadlineMs) override;
  HRESULT Read(std::vector<watch::Toast>* toasts, HANDLE stop, DWORD deadlineMs) override;

 private:
  ToastScript& s_;
};

// Counts plays and hides the way the clip window does, without a window.
class FakeClipWindow final : public alerts::ClipView {
 public:
  bool Show(bool) override { return shown = true; }
  void Close() override {}
  void Play(const std::wstring& path, alerts::ClipPlace place, int count) override {
    paths.push_back(path);
    places.push_back(place);
    plays.Start(count);
  }
  void CancelPlays() override { cancels += plays.Cancel(); }

  alerts::ClipPlays plays;
  bool shown = false;
  std::vector<std::wstring> paths;
  std::vector<alerts::ClipPlace> places;
  int cancels = 0;
};

// The beep and the drives, counted; called from any thread. With a gate,
// the drives wait for it, as a drive that hangs would.
class FakeMachine final : public alerts::Machine {
 public:
  void Beep() override {
    beepThread = GetCurrentThreadId();
    ++beeps;
  }
  void OpenCdTray() override { Wait(), ++ejects; }
  void FlashFloppyDrive() override { Wait(), ++floppies; }
  std::atomic<int> beeps{0}, ejects{0}, floppies{0};
  std::atomic<DWORD> driveThread{0}, beepThread{0};
  std::atomic<HANDLE> gate{nullptr};

 private:
  void Wait() {
    driveThread = GetCurrentThreadId();
    if (gate) WaitForSingleObject(gate, 30000);
  }
};

// The pointer and keys as the test sets them; key queries counted.
class ScriptedInput final : public presence::InputState {
 public:
  BOOL GetCursorPos(POINT* p) override {
    if (!readable) return FALSE;
    *p = pos;
    return TRUE;
  }
  SHORT GetAsyncKeyState(int vk) override {
    ++queries;
    return keys.count(vk) ? static_cast<SHORT>(keyBits) : 0;
  }
  POINT pos{0, 0};
  bool readable = true;
  std::set<int> keys;
  unsigned keyBits = 0x8000;
  int queries = 0;
};

// What the cycle did, in order: "look <source>", "rest <source>", "alert",
// "<effect>", "repeat <effect>".
using Log = std::vector<std::string>;

// A mail source that finds mail when the test says so.
class FakeSource final : public watch::MailSource {
 public:
  FakeSource(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  const wchar_t* Name() const override { return L"fake"; }
  bool On() const override { return on; }
  void Look() override {
    log_.push_back("look " + name_);
    if (std::exchange(mail, false)) Found();
  }
  void Rest() override { log_.push_back("rest " + name_); }
  bool Takes() const override { return takes; }

  bool on = true;
  bool takes = true;  // looking takes the mail away
  bool mail = false;  // the next look finds mail

 private:
  std::string name_;
  Log& log_;
};

class FakeEffect final : public alerts::AlertEffect {
 public:
  FakeEffect(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  bool On() const override { return on; }
  void Raise() override { log_.push_back(name_); }
  void Repeat() override { log_.push_back("repeat " + name_); }

  bool on = true;

 private:
  std::string name_;
  Log& log_;
};

inline long Count(const Log& log, const std::string& what) { return std::count(log.begin(), log.end(), what); }

}  // namespace testing_support
