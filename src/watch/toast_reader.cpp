#include "watch/toast_reader.h"

#include <mutex>
#include <utility>

#include "base/scoped.h"

namespace watch {

struct ToastReader::Shared {
  base::Lock lock;
  std::optional<ToastAsk> asked;
  std::optional<ToastAnswer> answer;
  base::Wake wake;  // none once the owner has gone
  base::UniqueHandle work{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  base::UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::function<std::unique_ptr<NotificationList>()> make;
  DWORD deadlineMs;
};

namespace {

using Kind = ToastAnswer::Kind;

ToastAnswer Failure(HRESULT hr, bool requested = false) {
  return {hr == kTimedOut ? Kind::TimedOut : Kind::Failed, hr, requested};
}

// One attempt, on the reader's thread.
ToastAnswer Attempt(ToastReader::Shared& s, std::unique_ptr<NotificationList>& list, MailApps& apps,
                    std::wstring& appsText, const ToastAsk& ask) {
  if (!list) {
    list = s.make();
    const HRESULT opened = list ? list->Open() : E_OUTOFMEMORY;
    if (FAILED(opened)) {
      list.reset();
      if (opened == REGDB_E_CLASSNOTREG || opened == CLASS_E_CLASSNOTAVAILABLE) return {Kind::Missing, opened};
      return Failure(opened);
    }
  }
  ToastAccess access = ToastAccess::Allowed;
  if (ask.checkAccess) {
    if (const HRESULT hr = list->GetAccessStatus(&access); FAILED(hr)) return Failure(hr);
  }
  if (access == ToastAccess::Unspecified && ask.mayRequest) {
    if (const HRESULT hr = list->RequestAccess(&access, s.stop.get(), s.deadlineMs); FAILED(hr))
      return Failure(hr, true);
    return {access == ToastAccess::Allowed ? Kind::Granted : Kind::Denied, S_OK, true};
  }
  if (access != ToastAccess::Allowed) return {Kind::Denied};
  ToastAnswer answer{Kind::Read};
  if (const HRESULT hr = list->Read(&answer.toasts, s.stop.get(), s.deadlineMs); FAILED(hr))
    return hr == E_ACCESSDENIED ? ToastAnswer{Kind::Denied, hr} : Failure(hr);
  // Built once per change of the list: thousands of entries cost their sort once.
  if (ask.apps != appsText) apps = MailApps(appsText = ask.apps);
  for (Toast& toast : answer.toasts) toast.mail = toast.whole && apps.Match(toast.app);
  return answer;
}

DWORD WINAPI Run(void* param) {
  const std::unique_ptr<std::shared_ptr<ToastReader::Shared>> share(
      static_cast<std::shared_ptr<ToastReader::Shared>*>(param));
  ToastReader::Shared& s = **share;
  std::unique_ptr<NotificationList> list;  // made, used and ended on this thread
  MailApps apps;
  std::wstring appsText;
  const HANDLE waits[] = {s.work.get(), s.stop.get()};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
    std::optional<ToastAsk> ask;
    {
      std::lock_guard<base::Lock> hold(s.lock);
      ask.swap(s.asked);
    }
    if (!ask) continue;
    ToastAnswer answer = Attempt(s, list, apps, appsText, *ask);
    base::Wake wake;
    {
      std::lock_guard<base::Lock> hold(s.lock);
      s.answer = std::move(answer);
      wake = s.wake;
    }
    if (wake) wake();
  }
  return 0;
}

}  // namespace

ToastReader::ToastReader(std::function<std::unique_ptr<NotificationList>()> make, base::Wake wake,
                         DWORD deadlineMs)
    : shared_(std::make_shared<Shared>()) {
  shared_->make = std::move(make);
  shared_->wake = std::move(wake);
  shared_->deadlineMs = deadlineMs;
}

ToastReader::~ToastReader() {
  {
    std::lock_guard<base::Lock> hold(shared_->lock);
    shared_->wake = nullptr;
  }
  SetEvent(shared_->stop.get());
}

bool ToastReader::Ask(ToastAsk ask) {
  if (!started_) {
    auto* share = new std::shared_ptr<Shared>(shared_);
    const base::UniqueHandle thread(CreateThread(nullptr, 0, Run, share, 0, nullptr));
    if (!thread) {
      delete share;
      return false;
    }
    started_ = true;
  }
  {
    std::lock_guard<base::Lock> hold(shared_->lock);
    shared_->asked = std::move(ask);
    shared_->answer.reset();
  }
  SetEvent(shared_->work.get());
  return true;
}

std::optional<ToastAnswer> ToastReader::Take() {
  std::lock_guard<base::Lock> hold(shared_->lock);
  std::optional<ToastAnswer> answer;
  answer.swap(shared_->answer);
  return answer;
}

}  // namespace watch
