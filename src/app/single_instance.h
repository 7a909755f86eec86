#pragma once
// One Postlark per user session: a second start hands over to the running
// one (which comes back into view) and exits, so two copies never race for
// the same envelope or double every alert.
#include <windows.h>

#include "base/scoped.h"

namespace app {

class SingleInstance {
 public:
  SingleInstance();

  bool IsFirst() const { return first_; }
  // Asks the running Postlark to show its window; waits briefly for it to
  // have created that window if it is still starting.
  void WakeRunning() const;

 private:
  base::UniqueHandle mutex_;
  bool first_ = true;
};

}  // namespace app
