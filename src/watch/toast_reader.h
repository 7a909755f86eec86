#pragma once
// The toast list read on a thread of its own, in the multithreaded
// apartment: activation, the access check and request, the read and the
// matching of thousands of toasts against the mail apps all happen there,
// and the answer is posted back. The window never waits on the platform. A
// call into the platform that never answers holds up only this thread; its
// owner gives it up and starts another.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/mailbox.h"
#include "watch/mail_apps.h"
#include "watch/notification_list.h"

namespace watch {

// What one attempt asks of the platform.
struct ToastAsk {
  bool checkAccess;   // ask Windows whether Postlark may read, first
  bool mayRequest;    // nobody has decided: Windows may ask the user
  std::wstring apps;  // the mail apps, for the toasts' `mail`
};

struct ToastAnswer {
  enum class Kind {
    Read,      // the toasts, those of a mail app marked
    Granted,   // the user allowed it: read at once
    Denied,    // Windows keeps the toasts from programs
    Missing,   // this Windows has no toast list for programs
    Failed,    // the platform said no, for the reason in `error`
    TimedOut,  // a call did not answer by the deadline
  };
  ToastAnswer(Kind k, HRESULT e = S_OK, bool r = false) : kind(k), error(e), requested(r) {}
  Kind kind;
  HRESULT error;
  bool requested;  // Windows asked the user
  std::vector<Toast> toasts;
};

class ToastReader {
 public:
  // make: the list, made on the reader's thread; wake: an answer waits;
  // deadlineMs: for each asynchronous call.
  ToastReader(std::function<std::unique_ptr<NotificationList>()> make, base::Wake wake, DWORD deadlineMs);
  // Never waits: a thread held by the platform ends when the platform lets
  // it go, or with the process, and wakes nobody.
  ~ToastReader();
  ToastReader(const ToastReader&) = delete;
  ToastReader& operator=(const ToastReader&) = delete;

  // One attempt; false when there was no thread to run it on.
  bool Ask(ToastAsk ask);
  // The answer to the last attempt, once it has come.
  std::optional<ToastAnswer> Take();

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  bool started_ = false;
};

}  // namespace watch
