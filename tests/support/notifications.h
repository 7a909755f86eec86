#pragma once
// Windows' notification list for a test: the stand-in DLL beside the test exe
// (stand_in_notifications.dll) registered as the UserNotificationListener
// class, reporting what the test sets here.
#include <windows.h>

#include <string>
#include <vector>

#include "watch/notification_list.h"

namespace testing_support {

// Registers the stand-in for its lifetime; the settings start at the DLL's
// defaults (access allowed, no toasts) and go with the registration.
class StandInNotifications {
 public:
  StandInNotifications();
  ~StandInNotifications();
  StandInNotifications(const StandInNotifications&) = delete;
  StandInNotifications& operator=(const StandInNotifications&) = delete;

  bool Registered() const { return registered_; }
  // Windows has the class itself: the stand-in stays out of its way.
  bool WindowsOwn() const { return windowsOwn_; }
  void SetAccess(watch::ToastAccess access);
  void SetToasts(const std::vector<watch::Toast>& toasts);
  // The next reads complete with this error.
  void SetReadFails(HRESULT error);
  // The next reads never complete.
  void SetReadHangs(bool hangs);
  void SetRequestResult(watch::ToastAccess result);
  // Reads and access requests started so far.
  DWORD Reads() const;
  DWORD AccessRequests() const;

 private:
  bool registered_ = false;
  bool windowsOwn_ = false;
};

}  // namespace testing_support
