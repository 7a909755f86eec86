#pragma once
// One Postlark per user session: a second start hands over to the running
// one (which comes back into view) and exits, so two copies never race for
// the same envelope or double every alert.
#include <windows.h>

#include "base/scoped.h"

namespace app {

// Sent by a second start to the running Postlark: come back into view.
inline constexpr wchar_t kRestoreMessageName[] = L"Postlark.Restore";
// The running Postlark's hidden window, which takes that message.
inline constexpr wchar_t kMessageWindowClass[] = L"PostlarkMessages";

class SingleInstance {
 public:
  SingleInstance();

  bool IsFirst() const { return first_; }
  // For a start that is not the first: asks the running Postlark to show
  // its window, waiting up to 5 s for it to have one. True when it answered:
  // this start ends. With no answer, the running one may be ending (a hung
  // drive can keep a process from ending): up to 10 s more for it to let go
  // of the object, and then this start is the first after all (false). Held
  // still, it is a copy that watches: true.
  bool HandOver();
  // Lets the next start go ahead; called before Postlark ends.
  void Release() { mutex_.Reset(); }

 private:
  bool TryTake();

  base::UniqueHandle mutex_;
  bool first_ = true;
};

}  // namespace app
