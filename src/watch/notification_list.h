#pragma once
// Windows' list of the user's toast notifications, as Postlark reads it: each
// toast's Id, creation time, app ID and app name, never its text. A list is used on the
// thread that made it, which may wait on it: never the window's.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace watch {

struct Toast {
  std::uint32_t id = 0;
  std::int64_t created = 0;  // CreationTime.UniversalTime: 100 ns since 1601 (a FILETIME)
  std::wstring app = {};     // AppInfo.AppUserModelId; empty: the toast has no app
  std::wstring appName = {};  // AppInfo.DisplayInfo.DisplayName; empty: unknown
  bool whole = true;         // its time and app could be read
  bool mail = false;         // of a mail app: the reader says
};

enum class ToastAccess { Unspecified = 0, Allowed = 1, Denied = 2 };

// The platform's answer did not come by the deadline.
inline constexpr HRESULT kTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

class NotificationList {
 public:
  virtual ~NotificationList() = default;
  // Activates the listener (UserNotificationListener.Current) in the
  // multithreaded apartment. S_OK, or why not: 0x80040154 when the class is
  // missing, as before Windows 10 1607.
  virtual HRESULT Open() = 0;
  virtual HRESULT GetAccessStatus(ToastAccess* status) = 0;
  // RequestAccessAsync, waited for until it answers, `stop` is set or the
  // deadline passes; a call given up is cancelled, closed and forgotten
  // (kTimedOut).
  virtual HRESULT RequestAccess(ToastAccess* status, HANDLE stop, DWORD deadlineMs) = 0;
  // GetNotificationsAsync(NotificationKinds.Toast), likewise. A toast whose
  // Id cannot be read is left out; one whose time or app cannot be read
  // comes with `whole` false.
  virtual HRESULT Read(std::vector<Toast>* toasts, HANDLE stop, DWORD deadlineMs) = 0;
};

// The platform's, through combase.dll, loaded on the first Open.
std::unique_ptr<NotificationList> MakeWinRtNotificationList();

}  // namespace watch
