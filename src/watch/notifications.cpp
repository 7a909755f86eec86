#include "watch/notifications.h"

#include <algorithm>

namespace watch {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME units
constexpr ULONGLONG kFirstPauseMs = 2000, kLongestPauseMs = 5 * 60 * 1000;
// A call the reader waits for ends by its deadline; one that holds the
// reader itself is given up a little after.
constexpr ULONGLONG kGraceMs = 5000;
constexpr size_t kRememberedToasts = 4096;  // months of toasts on a busy desk, a few hundred KiB at most

using Kind = ToastAnswer::Kind;

}  // namespace

ToastNews::ToastNews(std::int64_t started) : since_(started - 2 * kTicksPerSecond) {}

const Toast* ToastNews::Read(const std::vector<Toast>& toasts) {
  const Toast* mail = nullptr;
  std::set<std::pair<std::uint32_t, std::int64_t>> listed;
  for (const Toast& t : toasts) {
    const auto key = std::make_pair(t.id, t.created);
    listed.insert(key);
    if (!mail && t.mail && !seen_.count(key) && (known_ || t.created >= since_)) mail = &t;
  }
  known_ = true;
  // A toast stays seen after it leaves the list, so one that a read missed
  // is not new when it comes back; past kRememberedToasts, only the listed
  // ones are kept.
  if (seen_.size() + listed.size() > kRememberedToasts) seen_.clear();
  seen_.merge(listed);
  return mail;
}

ToastSource::ToastSource(std::function<std::unique_ptr<NotificationList>()> make, base::Mailbox& mailbox,
                         std::function<bool()> on, std::function<std::wstring()> apps, std::function<ULONGLONG()> now,
                         std::int64_t started, DWORD deadlineMs)
    : make_(std::move(make)),
      on_(std::move(on)),
      apps_(std::move(apps)),
      now_(std::move(now)),
      deadlineMs_(deadlineMs),
      // An answer, posted: taken at once.
      listening_(mailbox.Listen([this] {
        if (Collect() && On()) Found();
      })),
      news_(started) {}

ToastSource::~ToastSource() = default;

void ToastSource::Look() {
  const bool found = Collect();
  if (asking_ && now_() - askedAt_ > deadlineMs_ + kGraceMs) {
    // The platform holds the reader itself: it goes, and a new one asks.
    reader_.reset();
    asking_ = false;
    silentSince_ = askedAt_;
    checkAccess_ = true;
    Fail();
  }
  if (!asking_ && now_() >= retryAt_) {
    if (!reader_) reader_ = std::make_unique<ToastReader>(make_, listening_.wake(), deadlineMs_);
    if (reader_->Ask({checkAccess_, !requested_, apps_()})) {
      asking_ = true;
      askedAt_ = now_();
    } else {
      Fail();
    }
  }
  if (found) Found();
}

bool ToastSource::Collect() {
  std::optional<ToastAnswer> answer = reader_ ? reader_->Take() : std::nullopt;
  if (!answer) return false;
  asking_ = false;
  requested_ |= answer->requested;
  switch (answer->kind) {
    case Kind::Read:
      Heard();
      Remember(answer->toasts);
      if (const Toast* mail = news_.Read(answer->toasts)) {
        mailFrom_ = NamesApp(AppEntry(kNewOutlookApp), mail->app) ? L"new Outlook"
                    : mail->appName.empty()                        ? AppEntry(mail->app)
                                                                   : mail->appName;
        return true;
      }
      return false;
    case Kind::Granted:
      // The user said yes: read at once, on the request's own word.
      Heard();
      retryAt_ = 0;
      return false;
    case Kind::Denied:
      state_ = ToastState::Denied;
      silentSince_.reset();
      break;
    case Kind::Missing:
      state_ = ToastState::Missing;
      break;
    case Kind::TimedOut:
      if (!silentSince_) silentSince_ = askedAt_;
      // A prompt nobody answered in time is asked again.
      if (answer->requested) requested_ = false;
      break;
    case Kind::Failed:
      break;
  }
  checkAccess_ = true;
  Fail();
  return false;
}

SourceState ToastSource::State() const {
  if (!On()) return {false};
  if (state_ == ToastState::Missing) return {true, Deafness::Missing};
  if (state_ == ToastState::Denied) return {true, Deafness::Refused};
  if (silentSince_) return {true, Deafness::NotAnswering, *silentSince_};
  return {true};
}

void ToastSource::Remember(const std::vector<Toast>& toasts) {
  constexpr size_t kMostApps = 32;  // a menu's worth
  for (const Toast& t : toasts) {
    if (t.app.empty() || seen_.size() >= kMostApps) continue;
    const auto same = [&](const App& a) {
      return CompareStringOrdinal(a.id.c_str(), -1, t.app.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
    if (std::none_of(seen_.begin(), seen_.end(), same)) seen_.push_back({t.app, t.appName.empty() ? t.app : t.appName});
  }
}

void ToastSource::Heard() {
  state_ = ToastState::Allowed;
  silentSince_.reset();
  failures_ = 0;
  checkAccess_ = false;
}

void ToastSource::AskAgainSoon() {
  failures_ = 0;
  retryAt_ = 0;
  checkAccess_ = true;
}

void ToastSource::Fail() {
  // 2 s, 4 s, 8 s ... up to 5 minutes: a missing class or a refusal is not
  // asked again every tick.
  const ULONGLONG pause = std::min(kFirstPauseMs << std::min(failures_, 16), kLongestPauseMs);
  ++failures_;
  retryAt_ = now_() + pause;
}

}  // namespace watch
