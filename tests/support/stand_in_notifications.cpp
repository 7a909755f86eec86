// A stand-in for Windows' notification list: a Windows Runtime DLL serving
// Windows.UI.Notifications.Management.UserNotificationListener through the
// interfaces Postlark declares, for Wine, which has no such class. What it
// reports is read from HKCU\Software\Postlark\Test\Notifications at every
// call (see tests/support/notifications.h); operations complete on a thread
// of their own, as the platform's complete on its thread pool.
#include <windows.h>
#include <winstring.h>

#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <type_traits>
#include <vector>

#include "watch/notification_abi.h"

namespace {

using namespace watch::abi;

const wchar_t kSettings[] = L"Software\\Postlark\\Test\\Notifications";

DWORD Setting(const wchar_t* name, DWORD fallback) {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
             ? value
             : fallback;
}

void Count(const wchar_t* name) {
  const DWORD value = Setting(name, 0) + 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, name, REG_DWORD, &value, sizeof value);
}

// A test's list is a few lines; one that does not fit reads as none.
std::vector<std::wstring> Lines(const wchar_t* name) {
  std::vector<wchar_t> buffer(32768, L'\0');
  DWORD bytes = static_cast<DWORD>((buffer.size() - 2) * sizeof(wchar_t));
  std::vector<std::wstring> lines;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_MULTI_SZ, nullptr, buffer.data(), &bytes))
    return lines;
  for (const wchar_t* line = buffer.data(); *line; line += lines.back().size() + 1) lines.emplace_back(line);
  return lines;
}

template <class T>
void Drop(T value) {
  if constexpr (std::is_pointer_v<T>) {
    if (value) value->Release();
  }
}

// IUnknown and IInspectable for an object of the given interfaces, those
// derived from IInspectable first.
template <class... Interfaces>
class Object : public Interfaces... {
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

 public:
  virtual ~Object() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == Iid<IUnknown>::value || iid == Iid<IInspectable>::value) *out = static_cast<First*>(this);
    ((iid == Iid<Interfaces>::value ? void(*out = static_cast<Interfaces*>(this)) : void()), ...);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  // What Postlark never asks of the platform's objects.
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) { return E_NOTIMPL; }

 private:
  LONG refs_ = 1;
};

template <class Result>
class Operation final : public Object<IAsyncOperation<Result>, IAsyncInfo, IAgileObject> {
  using Handler = IAsyncOperationCompletedHandler<Result>;

 public:
  ~Operation() override {
    Drop(result_);
    Drop(handler_);
  }
  // Settles a running operation (taking `result`) and calls its handler.
  void Finish(AsyncStatus status, Result result, HRESULT error) {
    Handler* handler = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (status_ != Started) return Drop(result);
      status_ = status;
      result_ = result;
      error_ = error;
      if ((handler = handler_)) handler->AddRef();
    }
    if (handler) {
      handler->Invoke(this, status);
      handler->Release();
    }
  }

  HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) override {
    if (!handler) return E_POINTER;
    AsyncStatus status;
    {
      std::lock_guard lock(mutex_);
      if (closed_) return kIllegalMethodCall;
      if (handler_) return kIllegalDelegateAssignment;
      handler_ = handler;
      handler->AddRef();
      status = status_;
    }
    // Set after completion: called at once.
    if (status != Started) handler->Invoke(this, status);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Completed(Handler**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetResults(Result* results) override {
    std::lock_guard lock(mutex_);
    if (closed_ || status_ != Completed) return kIllegalMethodCall;
    if constexpr (std::is_pointer_v<Result>) result_->AddRef();
    *results = result_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Id(UINT32*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
    std::lock_guard lock(mutex_);
    *status = status_;
    return closed_ ? kIllegalMethodCall : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* error) override {
    std::lock_guard lock(mutex_);
    *error = error_;
    return closed_ ? kIllegalMethodCall : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Cancel() override {
    Finish(Canceled, Result{}, HRESULT_FROM_WIN32(ERROR_CANCELLED));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    std::lock_guard lock(mutex_);
    if (status_ == Started) return kIllegalStateChange;
    closed_ = true;
    return S_OK;
  }

 private:
  std::mutex mutex_;
  AsyncStatus status_ = Started;
  Result result_{};
  HRESULT error_ = S_OK;
  Handler* handler_ = nullptr;
  bool closed_ = false;
};

// Finishes `operation` from a thread of its own.
template <class Result>
void FinishLater(Operation<Result>* operation, AsyncStatus status, Result result, HRESULT error) {
  operation->AddRef();
  std::thread([=] {
    operation->Finish(status, result, error);
    operation->Release();
  }).detach();
}

class AppInfo final : public Object<IAppInfo, IAgileObject> {
 public:
  explicit AppInfo(std::wstring id) : id_(std::move(id)) {}
  HRESULT STDMETHODCALLTYPE get_Id(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AppUserModelId(HSTRING* value) override {
    return WindowsCreateString(id_.c_str(), static_cast<UINT32>(id_.size()), value);
  }
  HRESULT STDMETHODCALLTYPE get_DisplayInfo(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_PackageFamilyName(HSTRING*) override { return E_NOTIMPL; }

 private:
  std::wstring id_;
};

// One toast, from a line "id|appUserModelId|createdFiletimeDecimal". Its
// content is none of Postlark's business: there is none to read.
class Notification final : public Object<IUserNotification, IAgileObject> {
 public:
  explicit Notification(const std::wstring& line) {
    const size_t first = line.find(L'|');
    const size_t last = line.rfind(L'|');
    id_ = static_cast<UINT32>(std::wcstoul(line.c_str(), nullptr, 10));
    if (first != last) app_ = line.substr(first + 1, last - first - 1);
    if (last != std::wstring::npos) created_ = std::wcstoll(line.c_str() + last + 1, nullptr, 10);
  }
  HRESULT STDMETHODCALLTYPE get_Notification(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AppInfo(IAppInfo** value) override {
    *value = new AppInfo(app_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Id(UINT32* value) override {
    *value = id_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CreationTime(DateTime* value) override {
    value->UniversalTime = created_;
    return S_OK;
  }

 private:
  UINT32 id_ = 0;
  std::wstring app_;
  INT64 created_ = 0;
};

class Notifications final : public Object<IUserNotificationVectorView, IAgileObject> {
 public:
  Notifications() {
    for (const std::wstring& line : Lines(L"Toasts")) items_.push_back(new Notification(line));
  }
  ~Notifications() override {
    for (IUserNotification* item : items_) item->Release();
  }
  HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IUserNotification** item) override {
    if (index >= items_.size()) return kBounds;
    (*item = items_[index])->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) override {
    *size = static_cast<UINT32>(items_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IndexOf(IUserNotification*, UINT32*, boolean*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMany(UINT32, UINT32, IUserNotification**, UINT32*) override { return E_NOTIMPL; }

 private:
  std::vector<IUserNotification*> items_;
};

class Listener final : public Object<IUserNotificationListener, IAgileObject> {
  using Status = UserNotificationListenerAccessStatus;

 public:
  HRESULT STDMETHODCALLTYPE RequestAccessAsync(IAccessStatusOperation** operation) override {
    Count(L"AccessRequests");
    auto* started = new Operation<Status>;
    FinishLater(started, Completed, static_cast<Status>(Setting(L"RequestResult", 1)), S_OK);
    *operation = started;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAccessStatus(Status* result) override {
    *result = static_cast<Status>(Setting(L"Access", 1));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE add_NotificationChanged(IUnknown*, EventRegistrationToken*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE remove_NotificationChanged(EventRegistrationToken) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNotificationsAsync(NotificationKinds kinds,
                                                  INotificationsOperation** operation) override {
    if (kinds != NotificationKinds::Toast) return E_INVALIDARG;  // all the platform serves
    Count(L"Reads");
    auto* started = new Operation<IUserNotificationVectorView*>;
    const auto fails = static_cast<HRESULT>(Setting(L"ReadFails", S_OK));
    if (Setting(L"ReadHangs", 0)) {
      // never completes
    } else if (FAILED(fails)) {
      FinishLater<IUserNotificationVectorView*>(started, Error, nullptr, fails);
    } else {
      FinishLater<IUserNotificationVectorView*>(started, Completed, new Notifications, S_OK);
    }
    *operation = started;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetNotification(UINT32, IUserNotification**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClearNotifications() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveNotification(UINT32) override { return E_NOTIMPL; }
};

class Factory final : public Object<IActivationFactory, IUserNotificationListenerStatics, IAgileObject> {
 public:
  HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Current(IUserNotificationListener** value) override {
    *value = new Listener;
    return S_OK;
  }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  if (std::wcscmp(WindowsGetStringRawBuffer(classId, nullptr), kUserNotificationListenerClass) != 0)
    return CLASS_E_CLASSNOTAVAILABLE;
  // Pinned: a completion thread may still be on its way out of this DLL.
  HMODULE self;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&DllGetActivationFactory), &self);
  *factory = new Factory;
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
