#pragma once
// Windows' notification list for a test: the stand-in DLL beside the test exe
// (stand_in_notifications.dll) registered as the UserNotificationListener
// class, reporting what the test sets here. Its types are its own, not
// Postlark's, so that a test compares Postlark's reading with what the
// platform was told to report.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// UserNotificationListenerAccessStatus.
enum class StandInAccess { Unspecified = 0, Allowed = 1, Denied = 2 };

// A toast's properties that fail with E_FAIL (StandInToast::fails).
inline constexpr DWORD kFailsId = 1, kFailsCreationTime = 2, kFailsAppInfo = 4, kFailsAppUserModelId = 8,
                       kFailsFamily = 16, kFailsDisplayInfo = 32;

struct StandInToast {
  std::uint32_t id;
  // AppInfo.AppUserModelId; empty: the toast has no AppInfo at all
  // (get_AppInfo succeeds with none).
  std::wstring app;
  std::int64_t created;           // CreationTime.UniversalTime: 100 ns since 1601 (a FILETIME)
  std::wstring family = {};       // AppInfo.PackageFamilyName (empty for a desktop program)
  std::wstring displayName = {};  // AppInfo.DisplayInfo.DisplayName
  DWORD fails = 0;                // kFails* bits
};

// Registers the stand-in for its lifetime; the settings start at the DLL's
// defaults (access allowed, requests answered Allowed, no toasts) and go
// with the registration.
//
// Reads (GetNotificationsAsync) and access requests complete on a thread of
// their own. A read that hangs never completes on its own, whatever else is
// set; otherwise it fails with E_ACCESSDENIED unless the access is Allowed,
// then with the ReadFails error, else it lists the toasts. A request that
// completes with Allowed or Denied makes that the access from then on.
// Cancel takes effect a little later, from a thread of its own.
class StandInNotifications {
 public:
  StandInNotifications();
  ~StandInNotifications();
  StandInNotifications(const StandInNotifications&) = delete;
  StandInNotifications& operator=(const StandInNotifications&) = delete;

  bool Registered() const { return registered_; }
  // Windows has the class itself: the stand-in stays out of its way.
  bool WindowsOwn() const { return windowsOwn_; }

  // What GetAccessStatus answers.
  void SetAccess(StandInAccess access);
  // The access now, a granted or refused request included.
  StandInAccess Access() const;
  // What the next access requests complete with.
  void SetRequestResult(StandInAccess result);
  // The next access requests never complete on their own.
  void SetRequestHangs(bool hangs);
  void SetToasts(const std::vector<StandInToast>& toasts);
  // The next reads complete with this error (S_OK: they do not fail).
  void SetReadFails(HRESULT error);
  // The next reads never complete on their own.
  void SetReadHangs(bool hangs);

  // Started so far: reads, access requests, and IAsyncInfo::Cancel calls
  // on either.
  DWORD Reads() const;
  DWORD AccessRequests() const;
  DWORD Cancels() const;

 private:
  bool registered_ = false;
  bool windowsOwn_ = false;
};

}  // namespace testing_support
