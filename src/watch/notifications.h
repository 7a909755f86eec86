#pragma once
// The third way of hearing mail: Windows' toast notifications, for the new
// Outlook, which shows no envelope in the notification area and has no rule
// that writes a file. Each watching tick asks a reader on a thread of its
// own to read the list; a new toast of a mail app is mail. A call into the
// platform that does not answer within its deadline is given up, and the
// source says it is not hearing until one answers again.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/mailbox.h"
#include "watch/mail_source.h"
#include "watch/notification_list.h"
#include "watch/toast_reader.h"

namespace watch {

// What counts as new. What the first read that succeeds lists was there
// before: a toast in it is new only if it was created since Postlark
// started (it came while access was still being asked for, say). After
// that read, a toast not seen before is new, whatever its time says: the
// clock may have been set back. A toast is known by its Id and its time
// together, since Windows reuses Ids.
class ToastNews {
 public:
  explicit ToastNews(std::int64_t started);  // as a FILETIME
  // The list's first new toast of a mail app, or none. Every toast listed
  // counts as seen from now on.
  const Toast* Read(const std::vector<Toast>& toasts);

 private:
  std::int64_t since_;
  bool known_ = false;  // a read has succeeded
  std::set<std::pair<std::uint32_t, std::int64_t>> seen_;
};

// The new Outlook's app ID: the app Postlark listens to from the start.
inline constexpr wchar_t kNewOutlookApp[] = L"Microsoft.OutlookForWindows_8wekyb3d8bbwe!Microsoft.OutlookforWindows";

// What Windows allows of the toast list, as far as Postlark knows.
enum class ToastState { Unknown, Missing, Denied, Allowed };

class ToastSource final : public MailSource {
 public:
  // make: the platform's list, made on the reader's thread; on, apps: the
  // options; now: milliseconds, for pauses and deadlines; started: a
  // FILETIME; deadlineMs: for each call into the platform.
  ToastSource(std::function<std::unique_ptr<NotificationList>()> make, base::Mailbox& mailbox,
              std::function<bool()> on, std::function<std::wstring()> apps, std::function<ULONGLONG()> now,
              std::int64_t started, DWORD deadlineMs = kDeadlineMs);
  ~ToastSource() override;
  ToastSource(const ToastSource&) = delete;
  ToastSource& operator=(const ToastSource&) = delete;

  static constexpr DWORD kDeadlineMs = 30000;

  const wchar_t* Name() const override { return L"new Outlook"; }
  bool On() const override { return on_(); }
  // Reading takes nothing away: toasts are read while alerts are held, and
  // their mail waits.
  bool Takes() const override { return false; }
  // Whose toast was the last mail: "new Outlook", or the app's name.
  std::wstring MailFrom() const override { return mailFrom_; }
  // Takes an answer that has come and asks for the next read, unless one is
  // under way or the pause after a failure holds. A read under way past its
  // deadline is given up with its thread.
  void Look() override;
  SourceState State() const override;
  ToastState Access() const { return state_; }
  // The user went to change what Windows allows: ask again at the next tick,
  // not after the pause.
  void AskAgainSoon();

  // The apps whose toasts were read since Postlark started, by app ID, with
  // their names as Windows shows them (or their IDs).
  struct App {
    std::wstring id, name;
  };
  const std::vector<App>& Apps() const { return seen_; }

 private:
  // The answer, if it has come: true when it found mail.
  bool Collect();
  void Remember(const std::vector<Toast>& toasts);
  // The platform answered, and Postlark may read.
  void Heard();
  void Fail();

  std::function<std::unique_ptr<NotificationList>()> make_;
  std::function<bool()> on_;
  std::function<std::wstring()> apps_;
  std::function<ULONGLONG()> now_;
  DWORD deadlineMs_;
  base::Mailbox::Listening listening_;
  std::unique_ptr<ToastReader> reader_;
  ToastNews news_;
  bool asking_ = false;
  ULONGLONG askedAt_ = 0;
  bool checkAccess_ = true;  // until a read succeeds, and after one fails
  bool requested_ = false;   // Windows asked the user, once a run
  ToastState state_ = ToastState::Unknown;
  std::optional<ULONGLONG> silentSince_;  // a call has not answered since then
  std::wstring mailFrom_ = L"new Outlook";
  std::vector<App> seen_;
  int failures_ = 0;
  ULONGLONG retryAt_ = 0;
};

}  // namespace watch
