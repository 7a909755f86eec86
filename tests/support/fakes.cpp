#include "support/fakes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace testing_support {

namespace {
constexpr ULONGLONG kNever = std::numeric_limits<ULONGLONG>::max();
}

std::wstring MemoryStore::GetSetting(const std::wstring& app, const std::wstring& section,
                                     const std::wstring& key, const std::wstring& def) {
  reads.push_back(key);
  auto it = values.find(app + L"\\" + section + L"\\" + key);
  return it == values.end() ? def : it->second;
}

DWORD MemoryStore::SaveSetting(const std::wstring& app, const std::wstring& section,
                               const std::wstring& key, const std::wstring& value) {
  if (refusal != ERROR_SUCCESS) return refusal;
  writes.push_back(key + L"=" + value);
  values[app + L"\\" + section + L"\\" + key] = value;
  return ERROR_SUCCESS;
}

void FakeTimers::Host(ui::Timer& timer) {
  entries_.push_back({&timer, kNever});
  timer.Attach(*this, entries_.size());
}

FakeTimers::Entry* FakeTimers::Find(ui::Timer& timer) {
  for (Entry& e : entries_)
    if (e.timer == &timer) return &e;
  return nullptr;
}

void FakeTimers::Arm(ui::Timer& timer) {
  if (Entry* e = Find(timer)) e->due = now_ + timer.Interval();
}

void FakeTimers::Disarm(ui::Timer& timer) {
  if (Entry* e = Find(timer)) e->due = kNever;
}

void FakeTimers::Release(ui::Timer& timer) {
  std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

void FakeTimers::Advance(ULONGLONG ms) {
  const ULONGLONG until = now_ + ms;
  for (;;) {
    Entry* next = nullptr;
    for (Entry& e : entries_)
      if (e.due <= until && (!next || e.due < next->due)) next = &e;
    if (!next) break;
    now_ = next->due;
    next->due += next->timer->Interval();
    next->timer->Fire();
  }
  now_ = until;
}

void FakeDesktop::EnumTopLevel(WNDENUMPROC callback, LPARAM param) {
  for (size_t i = 0; i < windows_.size(); ++i)
    if (!callback(Handle(i), param)) break;
}

BOOL FakeDesktop::DeleteNotifyIcon(HWND h, UINT id) {
  deletes.push_back(Index(h));
  if (id != 0 || !At(h).envelope) return FALSE;
  At(h).envelope = false;
  return TRUE;
}

void FakeDesktop::Copy(const std::string& text, char* buffer, int count) {
  const size_t n = std::min(text.size(), static_cast<size_t>(count - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

void ToastScript::SetToasts(std::vector<watch::Toast> toasts) {
  std::lock_guard<std::mutex> hold(lock_);
  toasts_ = std::move(toasts);
}

std::vector<watch::Toast> ToastScript::Toasts() {
  std::lock_guard<std::mutex> hold(lock_);
  return toasts_;
}

HRESULT FakeNotificationList::GetAccessStatus(watch::ToastAccess* access) {
  ++s_.accessChecks;
  while (s_.holdAccess) Sleep(5);
  *access = s_.access;
  return S_OK;
}

HRESULT FakeNotificationList::RequestAccess(watch::ToastAccess* access, HANDLE, DWORD) {
  ++s_.requests;
  *access = s_.requestResult;
  s_.access = *access;  // as Windows records the user's answer
  return S_OK;
}

HRESULT FakeNotificationList::Read(std::vector<watch::Toast>* toasts, HANDLE stop, DWORD deadlineMs) {
  ++s_.reads;
  const ULONGLONG deadline = GetTickCount64() + deadlineMs;
  while (s_.hold) {
    if (GetTickCount64() >= deadline || WaitForSingleObject(stop, 5) == WAIT_OBJECT_0) return watch::kTimedOut;
  }
  if (FAILED(s_.readError)) return s_.readError;
  *toasts = s_.Toasts();
  return S_OK;
}

}  // namespace testing_support
