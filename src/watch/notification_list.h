#pragma once
// Windows' list of the user's toast notifications, as Postlark reads it: each
// toast's app, id and creation time, never its text.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
namespace watch {
struct Toast {
  std::uint32_t id;
  std::wstring appUserModelId;  // AppInfo.AppUserModelId
  std::int64_t created;         // CreationTime.UniversalTime: 100 ns since 1601 (a FILETIME)
};
enum class ToastAccess { Unspecified = 0, Allowed = 1, Denied = 2 };
enum class CallState { Running, Completed, Failed };
class NotificationList {
 public:
  virtual ~NotificationList() = default;
  // Activates the listener (UserNotificationListener.Current). S_OK, or why
  // not: 0x80040154 when the class is missing, as before Windows 10 1607.
  virtual HRESULT Open() = 0;
  virtual HRESULT GetAccessStatus(ToastAccess* status) = 0;
  // RequestAccessAsync: started here; `completed` is called once, from any
  // thread, when it has completed (or failed); Poll then tells.
  virtual HRESULT StartRequestAccess(std::function<void()> completed) = 0;
  virtual CallState PollRequestAccess(ToastAccess* status, HRESULT* error) = 0;
  // GetNotificationsAsync(NotificationKinds.Toast), likewise.
  virtual HRESULT StartRead(std::function<void()> completed) = 0;
  virtual CallState PollRead(std::vector<Toast>* toasts, HRESULT* error) = 0;
};
// The platform's, through combase.dll, loaded on the first Open.
std::unique_ptr<NotificationList> MakeWinRtNotificationList();
}  // namespace watch
