#include "watch/notifications.h"

#include <algorithm>
#include <cwctype>

#include "base/text.h"

namespace watch {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME units
constexpr ULONGLONG kFirstPauseMs = 2000, kLongestPauseMs = 5 * 60 * 1000;
constexpr size_t kRememberedIds = 4096;  // months of toasts on a busy desk, a few hundred KiB at most

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

}  // namespace

bool IsMailApp(const std::wstring& appUserModelId, const std::wstring& apps) {
  const std::wstring_view id = appUserModelId;
  const std::wstring_view family = id.substr(0, id.find(L'!'));
  std::wstring_view list = apps;
  while (!list.empty()) {
    const size_t semicolon = list.find(L';');
    const std::wstring_view entry = base::Trim(list.substr(0, semicolon));
    list = semicolon == std::wstring_view::npos ? std::wstring_view() : list.substr(semicolon + 1);
    if (entry.empty()) continue;
    const bool wholeId = entry.find(L'!') != std::wstring_view::npos;
    if (SameText(entry, id) || (!wholeId && SameText(entry, family))) return true;
  }
  return false;
}

ToastNews::ToastNews(std::int64_t started) : since_(started - 2 * kTicksPerSecond) {}

bool ToastNews::Read(const std::vector<Toast>& toasts, const std::wstring& apps) {
  bool mail = false;
  std::set<std::uint32_t> listed;
  for (const Toast& t : toasts) {
    listed.insert(t.id);
    if (!seen_.count(t.id) && t.created >= since_ && IsMailApp(t.appUserModelId, apps)) mail = true;
  }
  // An Id stays seen after it leaves the list, so a toast that one read
  // missed is not new when it comes back; past kRememberedIds, only the
  // listed ones are kept.
  if (seen_.size() + listed.size() > kRememberedIds) seen_.clear();
  seen_.merge(listed);
  return mail;
}

ToastSource::ToastSource(std::function<std::unique_ptr<NotificationList>()> make, base::Mailbox& mailbox,
                         std::function<bool()> on, std::function<std::wstring()> apps, std::function<ULONGLONG()> now,
                         std::int64_t started)
    : make_(std::move(make)),
      on_(std::move(on)),
      apps_(std::move(apps)),
      now_(std::move(now)),
      // A completion, posted: its result at once, if the source is on.
      listening_(mailbox.Listen([this] {
        if (On() && Collect()) Found();
      })),
      news_(started) {}

ToastSource::~ToastSource() = default;

void ToastSource::Look() {
  const bool found = Collect();
  if (call_ == Call::None && now_() >= retryAt_) Start();
  if (found) Found();
}

SourceState ToastSource::State() const {
  if (!On()) return {false};
  if (state_ == ToastState::Missing) return {true, Deafness::Missing};
  if (state_ == ToastState::Denied) return {true, Deafness::Refused};
  return {true};
}

bool ToastSource::Collect() {
  HRESULT error = S_OK;
  switch (call_) {
    case Call::None:
      return false;
    case Call::Request: {
      ToastAccess access = ToastAccess::Unspecified;
      const CallState s = list_->PollRequestAccess(&access, &error);
      if (s == CallState::Running) return false;
      call_ = Call::None;
      // Allowed: the next tick reads. Anything else: the user said no.
      if (s == CallState::Failed || access != ToastAccess::Allowed) {
        if (s == CallState::Completed) state_ = ToastState::Denied;
        Fail();
      }
      return false;
    }
    case Call::Read: {
      std::vector<Toast> toasts;
      const CallState s = list_->PollRead(&toasts, &error);
      if (s == CallState::Running) return false;
      call_ = Call::None;
      if (s == CallState::Failed) {
        Fail();
        return false;
      }
      failures_ = 0;
      return news_.Read(toasts, apps_());
    }
  }
  return false;
}

void ToastSource::Start() {
  if (!list_) {
    list_ = make_();
    const HRESULT opened = list_ ? list_->Open() : E_OUTOFMEMORY;
    if (FAILED(opened)) {
      list_.reset();
      if (opened == REGDB_E_CLASSNOTREG || opened == CLASS_E_CLASSNOTAVAILABLE) state_ = ToastState::Missing;
      return Fail();
    }
  }
  // Windows is asked whether Postlark may read until a read succeeds, and
  // again after one fails: not every second, since the question is a call
  // into the platform that this thread would wait on.
  ToastAccess access = ToastAccess::Allowed;
  if ((state_ != ToastState::Allowed || failures_ > 0) && FAILED(list_->GetAccessStatus(&access))) return Fail();
  if (access == ToastAccess::Unspecified && !requested_) {
    // Nobody has decided yet: Windows asks the user, once a run.
    requested_ = true;
    if (FAILED(list_->StartRequestAccess(listening_.wake()))) return Fail();
    call_ = Call::Request;
    return;
  }
  if (access != ToastAccess::Allowed) {
    state_ = ToastState::Denied;
    return Fail();
  }
  state_ = ToastState::Allowed;
  if (FAILED(list_->StartRead(listening_.wake()))) return Fail();
  call_ = Call::Read;
}

void ToastSource::Fail() {
  // 2 s, 4 s, 8 s ... up to 5 minutes: a missing class or a refusal is not
  // asked again every tick.
  const ULONGLONG pause = std::min(kFirstPauseMs << std::min(failures_, 16), kLongestPauseMs);
  ++failures_;
  retryAt_ = now_() + pause;
}

}  // namespace watch
