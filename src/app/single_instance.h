#pragma once
// One Postlark per user session: a second start hands over to the running
// one (which comes back into view) and exits, so two copies never race for
// the same envelope or double every alert.
#include <windows.h>

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool IsFirst() const { return first_; }
  // Asks the running Postlark to show its window; waits briefly for it to
  // have created that window if it is still starting.
  void WakeRunning() const;

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};
