// The notification list through the Windows Runtime's ABI: the listener's
// class activated by name, its calls started with a completion handler of our
// own and read back by polling the operation's status. Nothing here waits
// for an operation; only the access status is a plain call.
// Use one list from one thread (Postlark's UI thread), and destroy it there.
#include <roapi.h>
#include <winstring.h>

#include <atomic>
#include <iterator>
#include <mutex>
#include <new>
#include <utility>

#include "base/scoped.h"
#include "base/system_dll.h"
#include "watch/notification_abi.h"
#include "watch/notification_list.h"

namespace watch {
namespace {

using abi::Iid;
using base::ComRef;

// The runtime's functions, loaded on the first Open: the exe imports none of
// them, so start-up pays nothing and Postlark still starts where combase.dll
// or these exports are missing.
struct Runtime {
  Runtime()
      : initialize(Proc<decltype(initialize)>("RoInitialize")),
        uninitialize(Proc<decltype(uninitialize)>("RoUninitialize")),
        getActivationFactory(Proc<decltype(getActivationFactory)>("RoGetActivationFactory")),
        createStringReference(Proc<decltype(createStringReference)>("WindowsCreateStringReference")),
        deleteString(Proc<decltype(deleteString)>("WindowsDeleteString")),
        rawBuffer(Proc<decltype(rawBuffer)>("WindowsGetStringRawBuffer")) {}
  template <class F>
  static F Proc(const char* name) {
    return base::SystemProc<F>(L"combase.dll", name);
  }
  bool Loaded() const {
    return initialize && uninitialize && getActivationFactory && createStringReference && deleteString && rawBuffer;
  }

  HRESULT(WINAPI* initialize)(RO_INIT_TYPE) = nullptr;
  void(WINAPI* uninitialize)() = nullptr;
  HRESULT(WINAPI* getActivationFactory)(HSTRING, REFIID, void**) = nullptr;
  HRESULT(WINAPI* createStringReference)(PCWSTR, UINT32, HSTRING_HEADER*, HSTRING*) = nullptr;
  HRESULT(WINAPI* deleteString)(HSTRING) = nullptr;
  PCWSTR(WINAPI* rawBuffer)(HSTRING, UINT32*) = nullptr;
};

const Runtime& Rt() {
  static const Runtime runtime;
  return runtime;
}

// A string the runtime handed over; only ever made after Rt() has loaded.
struct HStringTraits {
  using Type = HSTRING;
  static Type Invalid() { return nullptr; }
  static bool Valid(Type s) { return s != nullptr; }
  static void Close(Type s) { Rt().deleteString(s); }
};
using UniqueHString = base::Scoped<HStringTraits>;

std::wstring Text(HSTRING s) {
  UINT32 length = 0;
  const PCWSTR chars = Rt().rawBuffer(s, &length);
  return chars ? std::wstring(chars, length) : std::wstring();
}

ToastAccess ToAccess(abi::UserNotificationListenerAccessStatus status) {
  switch (status) {
    case abi::UserNotificationListenerAccessStatus::Allowed:
      return ToastAccess::Allowed;
    case abi::UserNotificationListenerAccessStatus::Denied:
      return ToastAccess::Denied;
    default:  // Unspecified, or a value newer than Postlark
      return ToastAccess::Unspecified;
  }
}

// Tells the caller that an operation has completed. Agile, so the runtime
// calls it straight from its own thread rather than marshalling the call to
// the UI thread's apartment. Disarmed, it calls nobody: an operation given up
// may still complete later. Disarm waits for a call under way, so the caller's
// owner may go as soon as it returns.
template <class Result>
class CompletedHandler final : public abi::IAsyncOperationCompletedHandler<Result>, public IAgileObject {
  using Handler = abi::IAsyncOperationCompletedHandler<Result>;

 public:
  explicit CompletedHandler(std::function<void()> completed) : completed_(std::move(completed)) {}
  void Disarm() {
    std::lock_guard<base::Lock> hold(lock_);
    armed_ = false;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == Iid<IUnknown>::value || iid == Iid<Handler>::value) {
      *out = static_cast<Handler*>(this);
    } else if (iid == Iid<IAgileObject>::value) {
      *out = static_cast<IAgileObject*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(abi::IAsyncOperation<Result>*, AsyncStatus) override {
    std::lock_guard<base::Lock> hold(lock_);
    if (std::exchange(armed_, false) && completed_) completed_();
    return S_OK;
  }

 private:
  ~CompletedHandler() = default;
  std::atomic<ULONG> refs_{1};
  base::Lock lock_;
  bool armed_ = true;
  std::function<void()> completed_;
};

HRESULT Collect(abi::IAccessStatusOperation* operation, ToastAccess* access) {
  auto status = abi::UserNotificationListenerAccessStatus::Unspecified;
  const HRESULT hr = operation->GetResults(&status);
  if (SUCCEEDED(hr)) *access = ToAccess(status);
  return hr;
}

// Only the app, id and creation time of each toast: never its content.
HRESULT Collect(abi::INotificationsOperation* operation, std::vector<Toast>* toasts) {
  ComRef<abi::IUserNotificationVectorView> view;
  HRESULT hr = operation->GetResults(view.OutTyped());
  if (FAILED(hr)) return hr;
  if (!view) return E_POINTER;
  UINT32 size = 0;
  if (FAILED(hr = view->get_Size(&size))) return hr;
  std::vector<Toast> read;
  read.reserve(size);
  for (UINT32 i = 0; i < size; ++i) {
    ComRef<abi::IUserNotification> notification;
    if (FAILED(hr = view->GetAt(i, notification.OutTyped()))) return hr;
    if (!notification) return E_POINTER;
    Toast toast{};
    abi::DateTime created{};
    if (FAILED(hr = notification->get_Id(&toast.id))) return hr;
    if (FAILED(hr = notification->get_CreationTime(&created))) return hr;
    toast.created = created.UniversalTime;
    ComRef<abi::IAppInfo> app;
    if (FAILED(hr = notification->get_AppInfo(app.OutTyped()))) return hr;
    if (app) {  // a toast of no app keeps an empty id
      UniqueHString id;
      if (FAILED(hr = app->get_AppUserModelId(id.Out()))) return hr;
      toast.appUserModelId = Text(id.get());
    }
    read.push_back(std::move(toast));
  }
  *toasts = std::move(read);
  return S_OK;
}

// One kind of asynchronous call: the operation while it runs, then its
// outcome, which Poll keeps telling until the next start.
template <class Result, class Value>
class Call {
  using Operation = abi::IAsyncOperation<Result>;

 public:
  ~Call() { Abandon(); }

  // `begin` asks the listener for a new operation. A call still running is
  // given up first: a hung platform call must not stop every later one.
  template <class Begin>
  HRESULT Start(std::function<void()> completed, Begin begin) {
    Abandon();
    value_ = Value{};
    state_ = CallState::Running;
    error_ = Launch(std::move(completed), begin);
    if (FAILED(error_)) {
      Abandon();
      state_ = CallState::Failed;
    }
    return error_;
  }

  CallState Poll(Value* value, HRESULT* error) {
    if (operation_) Settle();
    if (value && state_ == CallState::Completed) *value = value_;
    if (error) *error = state_ == CallState::Failed ? error_ : S_OK;
    return state_;
  }

  // Cancels and closes a running operation; its handler calls nobody.
  void Abandon() {
    if (handler_) handler_->Disarm();
    if (ComRef<IAsyncInfo> info; operation_ && SUCCEEDED(base::Query(operation_.get(), Iid<IAsyncInfo>::value, info))) {
      info->Cancel();
      info->Close();
    }
    operation_.Reset();
    handler_.Reset();
  }

 private:
  template <class Begin>
  HRESULT Launch(std::function<void()> completed, Begin begin) {
    auto* handler = new (std::nothrow) CompletedHandler<Result>(std::move(completed));
    if (!handler) return E_OUTOFMEMORY;
    *handler_.OutTyped() = handler;
    HRESULT hr = begin(operation_.OutTyped());
    if (SUCCEEDED(hr) && !operation_) hr = E_POINTER;
    // The runtime may call the handler at once, from here, if the operation
    // has already completed.
    if (SUCCEEDED(hr)) hr = operation_->put_Completed(handler);
    return hr;
  }

  // Reads a finished operation's outcome, then closes and releases it.
  void Settle() {
    ComRef<IAsyncInfo> info;
    AsyncStatus status = Error;
    HRESULT hr = base::Query(operation_.get(), Iid<IAsyncInfo>::value, info);
    if (SUCCEEDED(hr)) hr = info->get_Status(&status);
    if (SUCCEEDED(hr) && status == Started) return;
    if (SUCCEEDED(hr) && status == Completed) {
      hr = Collect(operation_.get(), &value_);
    } else if (SUCCEEDED(hr) && status == Canceled) {
      hr = HRESULT_FROM_WIN32(ERROR_CANCELLED);
    } else if (SUCCEEDED(hr)) {
      if (FAILED(info->get_ErrorCode(&hr)) || SUCCEEDED(hr)) hr = E_FAIL;
    }
    state_ = SUCCEEDED(hr) ? CallState::Completed : CallState::Failed;
    error_ = hr;
    if (info) info->Close();
    operation_.Reset();
    handler_.Reset();
  }

  ComRef<Operation> operation_;
  ComRef<CompletedHandler<Result>> handler_;
  CallState state_ = CallState::Failed;
  HRESULT error_ = abi::kIllegalMethodCall;  // until a call is started
  Value value_{};
};

class WinRtNotificationList final : public NotificationList {
 public:
  ~WinRtNotificationList() override {
    access_.Abandon();
    read_.Abandon();
    listener_.Reset();
    if (initialized_) Rt().uninitialize();
  }

  HRESULT Open() override {
    if (listener_) return S_OK;
    const Runtime& rt = Rt();
    // No Windows Runtime at all: the class is as missing as before 1607.
    if (!rt.Loaded()) return REGDB_E_CLASSNOTREG;
    if (!initialized_) {
      // The UI thread is most often a single-threaded apartment already, the
      // clip player's (S_FALSE); one of the multithreaded one is fine as it is.
      const HRESULT hr = rt.initialize(RO_INIT_SINGLETHREADED);
      if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return hr;
      initialized_ = SUCCEEDED(hr);
    }
    HSTRING_HEADER header;
    HSTRING name = nullptr;
    HRESULT hr = rt.createStringReference(abi::kUserNotificationListenerClass,
                                          static_cast<UINT32>(std::size(abi::kUserNotificationListenerClass) - 1),
                                          &header, &name);
    if (FAILED(hr)) return hr;
    ComRef<abi::IUserNotificationListenerStatics> statics;
    hr = rt.getActivationFactory(name, Iid<abi::IUserNotificationListenerStatics>::value, statics.Out());
    if (FAILED(hr)) return hr;
    if (!statics) return E_POINTER;
    hr = statics->get_Current(listener_.OutTyped());
    if (SUCCEEDED(hr) && !listener_) hr = E_POINTER;
    return hr;
  }

  HRESULT GetAccessStatus(ToastAccess* status) override {
    if (!status) return E_POINTER;
    if (!listener_) return abi::kIllegalMethodCall;
    auto raw = abi::UserNotificationListenerAccessStatus::Unspecified;
    const HRESULT hr = listener_->GetAccessStatus(&raw);
    if (SUCCEEDED(hr)) *status = ToAccess(raw);
    return hr;
  }

  HRESULT StartRequestAccess(std::function<void()> completed) override {
    if (!listener_) return abi::kIllegalMethodCall;
    return access_.Start(std::move(completed), [this](abi::IAccessStatusOperation** operation) {
      return listener_->RequestAccessAsync(operation);
    });
  }
  CallState PollRequestAccess(ToastAccess* status, HRESULT* error) override { return access_.Poll(status, error); }

  HRESULT StartRead(std::function<void()> completed) override {
    if (!listener_) return abi::kIllegalMethodCall;
    return read_.Start(std::move(completed), [this](abi::INotificationsOperation** operation) {
      return listener_->GetNotificationsAsync(abi::NotificationKinds::Toast, operation);
    });
  }
  CallState PollRead(std::vector<Toast>* toasts, HRESULT* error) override { return read_.Poll(toasts, error); }

 private:
  bool initialized_ = false;  // RoInitialize to balance
  ComRef<abi::IUserNotificationListener> listener_;
  Call<abi::UserNotificationListenerAccessStatus, ToastAccess> access_;
  Call<abi::IUserNotificationVectorView*, std::vector<Toast>> read_;
};

}  // namespace

std::unique_ptr<NotificationList> MakeWinRtNotificationList() {
  return std::unique_ptr<NotificationList>(new (std::nothrow) WinRtNotificationList);
}

}  // namespace watch
