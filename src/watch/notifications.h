#pragma once
// The third way of hearing mail: Windows' toast notifications, for the new
// Outlook, which shows no envelope in the notification area and has no rule
// that writes a file. Each watching tick reads the list of toasts, without
// waiting for it: a read is started on one tick and taken on a later one, or
// when its completion is posted to the window. A toast of a mail app that
// is new is mail.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string_view>
#include <string>
#include <vector>

#include "base/mailbox.h"
#include "watch/mail_source.h"
#include "watch/notification_list.h"

namespace watch {

// Whether a toast's app is one of the mail apps, listed with ";" between
// them: an entry with "!" is an app user model ID, matched whole; one
// without is a package family name (the part of an app ID before "!"), or a
// desktop program's whole app ID. Letter case does not count.
bool IsMailApp(const std::wstring& appUserModelId, const std::wstring& apps);

// What counts as new: an Id not seen before, of a toast created no earlier
// than 2 s before Postlark started, so the toasts already waiting in the
// notification centre at start do not alert.
class ToastNews {
 public:
  explicit ToastNews(std::int64_t started);  // as a FILETIME
  // True when the list holds a new toast of a mail app. Every toast listed
  // counts as seen from now on.
  bool Read(const std::vector<Toast>& toasts, const std::wstring& apps);

 private:
  std::int64_t since_;
  std::set<std::uint32_t> seen_;
};

// What Windows allows of the toast list, as far as Postlark knows.
enum class ToastState { Unknown, Missing, Denied, Allowed };

// Windows' toasts as a mail source, beside the envelope or the marker. Each
// watching tick takes a read that has finished and starts the next, without
// waiting for it: a read's completion wakes the source, which takes it then.
class ToastSource final : public MailSource {
 public:
  // make: the platform's list; on, apps: the options; now: milliseconds,
  // for the pause after a failure; started: a FILETIME.
  ToastSource(std::function<std::unique_ptr<NotificationList>()> make, base::Mailbox& mailbox,
              std::function<bool()> on, std::function<std::wstring()> apps, std::function<ULONGLONG()> now,
              std::int64_t started);
  ~ToastSource() override;
  ToastSource(const ToastSource&) = delete;
  ToastSource& operator=(const ToastSource&) = delete;

  const wchar_t* Name() const override { return L"new Outlook"; }
  bool On() const override { return on_(); }
  // Takes a read that has finished and starts the next, unless a call is
  // still under way or the pause after a failure holds. The class is loaded
  // on the first.
  void Look() override;
  SourceState State() const override;
  ToastState Access() const { return state_; }
  // The user went to change what Windows allows: ask again at the next tick,
  // not after the pause.
  void AskAgainSoon() {
    failures_ = 0;
    retryAt_ = 0;
  }

 private:
  enum class Call { None, Request, Read };
  // A call's result, if it has come: true when it found mail.
  bool Collect();
  void Start();
  void Fail();

  std::function<std::unique_ptr<NotificationList>()> make_;
  std::function<bool()> on_;
  std::function<std::wstring()> apps_;
  std::function<ULONGLONG()> now_;
  base::Mailbox::Listening listening_;
  std::unique_ptr<NotificationList> list_;
  ToastNews news_;
  Call call_ = Call::None;
  ToastState state_ = ToastState::Unknown;
  bool requested_ = false;  // RequestAccessAsync, at most once a run
  int failures_ = 0;
  ULONGLONG retryAt_ = 0;
};

}  // namespace watch
