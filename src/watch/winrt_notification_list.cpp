// The notification list through the Windows Runtime's ABI: the listener's
// class activated by name in the multithreaded apartment, each asynchronous
// call waited for on a completion handler of our own, with a deadline.
// Use one list from one thread (the toast reader's), and destroy it there.
#include <roapi.h>
#include <winstring.h>

#include <atomic>
#include <iterator>
#include <map>
#include <new>
#include <utility>

#include "base/once.h"
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

// Reached first from a toast reader's thread, and a second reader may
// start while the first is held by the platform.
const Runtime& Rt() { return base::Once<Runtime>(); }

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

// Says that an operation has completed, by an event the waiter holds too.
// Agile, so the runtime calls it straight from its own thread. The event
// lives as long as either: an operation given up may still complete later.
template <class Result>
class CompletedHandler final : public abi::IAsyncOperationCompletedHandler<Result>, public IAgileObject {
  using Handler = abi::IAsyncOperationCompletedHandler<Result>;

 public:
  HANDLE done() const { return done_.get(); }

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
    SetEvent(done_.get());
    return S_OK;
  }

 private:
  ~CompletedHandler() = default;
  std::atomic<ULONG> refs_{1};
  base::UniqueHandle done_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// Waits for `operation` until it completes, `stop` is set or the deadline
// passes. One that does not answer is cancelled and closed; its handler
// goes with our last reference to it.
template <class Result>
HRESULT Await(abi::IAsyncOperation<Result>* operation, HANDLE stop, DWORD deadlineMs) {
  ComRef<CompletedHandler<Result>> handler;
  *handler.OutTyped() = new (std::nothrow) CompletedHandler<Result>;
  if (!handler || !handler->done()) return E_OUTOFMEMORY;
  ComRef<IAsyncInfo> info;
  HRESULT hr = base::Query(operation, Iid<IAsyncInfo>::value, info);
  if (FAILED(hr)) return hr;
  // The runtime may call the handler at once, from here, if the operation
  // has already completed.
  if (FAILED(hr = operation->put_Completed(handler.get()))) return hr;
  const HANDLE waits[] = {handler->done(), stop};
  const DWORD waited = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, deadlineMs);
  AsyncStatus status = Error;
  if (waited != WAIT_OBJECT_0 || FAILED(info->get_Status(&status)) || status == Started) {
    // Cancel is a request: the operation ends later, or never; Close then
    // refuses, and the operation goes with the last reference to it.
    info->Cancel();
    info->Close();
    return kTimedOut;
  }
  if (status == Completed) return S_OK;
  if (status == Canceled) hr = HRESULT_FROM_WIN32(ERROR_CANCELLED);
  else if (FAILED(info->get_ErrorCode(&hr)) || SUCCEEDED(hr)) hr = E_FAIL;
  info->Close();
  return hr;
}

// An app's name as Windows shows it; empty when it cannot be read.
std::wstring DisplayName(abi::IAppInfo* app) {
  ComRef<abi::IAppDisplayInfo> display;
  UniqueHString name;
  if (FAILED(app->get_DisplayInfo(display.OutTyped())) || !display || FAILED(display->get_DisplayName(name.Out())))
    return {};
  return Text(name.get());
}

// One toast: its Id, or nothing; its time and app, or `whole` false; its
// app's name, once a read for each app. Never its content.
bool ReadToast(abi::IUserNotification* notification, Toast* toast, std::map<std::wstring, std::wstring>& names) {
  if (!notification || FAILED(notification->get_Id(&toast->id))) return false;
  abi::DateTime created{};
  toast->whole = SUCCEEDED(notification->get_CreationTime(&created));
  toast->created = created.UniversalTime;
  ComRef<abi::IAppInfo> app;
  if (FAILED(notification->get_AppInfo(app.OutTyped()))) {
    toast->whole = false;
  } else if (app) {  // a toast of no app keeps an empty id
    UniqueHString id;
    if (FAILED(app->get_AppUserModelId(id.Out()))) {
      toast->whole = false;
    } else {
      toast->app = Text(id.get());
      const auto known = names.find(toast->app);
      toast->appName = known != names.end() ? known->second : names[toast->app] = DisplayName(app.get());
    }
  }
  return true;
}

class WinRtNotificationList final : public NotificationList {
 public:
  ~WinRtNotificationList() override {
    listener_.Reset();
    if (initialized_) Rt().uninitialize();
  }

  HRESULT Open() override {
    if (listener_) return S_OK;
    const Runtime& rt = Rt();
    // No Windows Runtime at all: the class is as missing as before 1607.
    if (!rt.Loaded()) return REGDB_E_CLASSNOTREG;
    if (!initialized_) {
      // The listener is agile and lives in the multithreaded apartment: so
      // does the thread that reads it.
      const HRESULT hr = rt.initialize(RO_INIT_MULTITHREADED);
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
    if (!listener_) return abi::kIllegalMethodCall;
    auto raw = abi::UserNotificationListenerAccessStatus::Unspecified;
    const HRESULT hr = listener_->GetAccessStatus(&raw);
    if (SUCCEEDED(hr)) *status = ToAccess(raw);
    return hr;
  }

  HRESULT RequestAccess(ToastAccess* status, HANDLE stop, DWORD deadlineMs) override {
    if (!listener_) return abi::kIllegalMethodCall;
    ComRef<abi::IAccessStatusOperation> operation;
    HRESULT hr = listener_->RequestAccessAsync(operation.OutTyped());
    if (SUCCEEDED(hr) && !operation) hr = E_POINTER;
    if (SUCCEEDED(hr)) hr = Await(operation.get(), stop, deadlineMs);
    auto raw = abi::UserNotificationListenerAccessStatus::Unspecified;
    if (SUCCEEDED(hr)) hr = operation->GetResults(&raw);
    if (SUCCEEDED(hr)) *status = ToAccess(raw);
    return hr;
  }

  HRESULT Read(std::vector<Toast>* toasts, HANDLE stop, DWORD deadlineMs) override {
    if (!listener_) return abi::kIllegalMethodCall;
    ComRef<abi::INotificationsOperation> operation;
    HRESULT hr = listener_->GetNotificationsAsync(abi::NotificationKinds::Toast, operation.OutTyped());
    if (SUCCEEDED(hr) && !operation) hr = E_POINTER;
    if (SUCCEEDED(hr)) hr = Await(operation.get(), stop, deadlineMs);
    ComRef<abi::IUserNotificationVectorView> view;
    if (SUCCEEDED(hr)) hr = operation->GetResults(view.OutTyped());
    if (SUCCEEDED(hr) && !view) hr = E_POINTER;
    UINT32 size = 0;
    if (SUCCEEDED(hr)) hr = view->get_Size(&size);
    if (FAILED(hr)) return hr;
    toasts->clear();
    toasts->reserve(size);
    std::map<std::wstring, std::wstring> names;
    for (UINT32 i = 0; i < size; ++i) {
      // One toast that cannot be read costs only itself.
      ComRef<abi::IUserNotification> notification;
      Toast toast;
      if (SUCCEEDED(view->GetAt(i, notification.OutTyped())) && ReadToast(notification.get(), &toast, names))
        toasts->push_back(std::move(toast));
    }
    return S_OK;
  }

 private:
  bool initialized_ = false;  // RoInitialize to balance
  ComRef<abi::IUserNotificationListener> listener_;
};

}  // namespace

std::unique_ptr<NotificationList> MakeWinRtNotificationList() {
  return std::unique_ptr<NotificationList>(new (std::nothrow) WinRtNotificationList);
}

}  // namespace watch
