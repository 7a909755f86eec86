// A stand-in for Windows' notification list: a Windows Runtime DLL serving
// Windows.UI.Notifications.Management.UserNotificationListener for Wine,
// which has no such class. Its interfaces are declared on its own, from the
// published metadata (stand_in_abi.h), so Postlark's declarations are
// checked against a second source rather than echoed. What it reports is read
// from HKCU\Software\Postlark\Test\Notifications at every call (see
// tests/support/notifications.h); operations complete, and cancels take
// effect, on threads of their own, as the platform's do on its thread pool.
#include <windows.h>
#include <winstring.h>

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "notifications.h"
#include "stand_in_abi.h"

namespace {

using namespace stand_in;

const wchar_t kSettings[] = L"Software\\Postlark\\Test\\Notifications";
// A cancel is a request: the operation ends this much later.
constexpr DWORD kCancelDelayMs = 50;
// A toast's properties that fail: the bits the tests set.
using testing_support::kFailsAppInfo;
using testing_support::kFailsAppUserModelId;
using testing_support::kFailsCreationTime;
using testing_support::kFailsDisplayInfo;
using testing_support::kFailsFamily;
using testing_support::kFailsId;

DWORD Setting(const wchar_t* name, DWORD fallback) {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
             ? value
             : fallback;
}

void Store(const wchar_t* name, DWORD value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, name, REG_DWORD, &value, sizeof value);
}

// Counters go up from any thread: one at a time within this process.
void Count(const wchar_t* name) {
  static std::mutex counting;
  std::lock_guard lock(counting);
  Store(name, Setting(name, 0) + 1);
}

HRESULT Text(const std::wstring& text, HSTRING* value) {
  if (!value) return E_POINTER;
  return WindowsCreateString(text.c_str(), static_cast<UINT32>(text.size()), value);
}

template <class T>
void Drop(T value) {
  if constexpr (std::is_pointer_v<T>) {
    if (value) value->Release();
  }
}

// One toast as a test sets it: a line of six fields split by '|',
//   id|created|fails|appUserModelId|packageFamilyName|displayName
// numbers in decimal, text with '%', '|' and NUL written as %XX.
struct Toast {
  UINT32 id = 0;
  INT64 created = 0;
  DWORD fails = 0;
  std::wstring app, family, displayName;
};

bool Unescape(const std::wstring& field, std::wstring* text) {
  text->clear();
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != L'%') {
      *text += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return false;
    unsigned code = 0;
    for (wchar_t digit : {field[i + 1], field[i + 2]}) {
      const wchar_t* hex = L"0123456789ABCDEF";
      const wchar_t* at = std::wcschr(hex, static_cast<wchar_t>(std::towupper(digit)));
      if (!digit || !at) return false;
      code = code * 16 + static_cast<unsigned>(at - hex);
    }
    *text += static_cast<wchar_t>(code);
    i += 2;
  }
  return true;
}

template <class Number>
bool Decimal(const std::wstring& field, Number* value) {
  if (field.empty() || !(std::iswdigit(field[0]) || (std::is_signed_v<Number> && field[0] == L'-'))) return false;
  wchar_t* end = nullptr;
  errno = 0;
  if constexpr (std::is_signed_v<Number>) {
    const long long parsed = std::wcstoll(field.c_str(), &end, 10);
    *value = static_cast<Number>(parsed);
  } else {
    const unsigned long long parsed = std::wcstoull(field.c_str(), &end, 10);
    if (parsed > static_cast<unsigned long long>(static_cast<Number>(-1))) return false;
    *value = static_cast<Number>(parsed);
  }
  return errno == 0 && end == field.c_str() + field.size();
}

bool Parse(const std::wstring& line, Toast* toast) {
  std::vector<std::wstring> fields(1);
  for (wchar_t c : line) {
    if (c == L'|')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields.size() == 6 && Decimal(fields[0], &toast->id) && Decimal(fields[1], &toast->created) &&
         Decimal(fields[2], &toast->fails) && Unescape(fields[3], &toast->app) && Unescape(fields[4], &toast->family) &&
         Unescape(fields[5], &toast->displayName);
}

// The toasts the test set; false when the value is unreadable or a line
// malformed, which the read reports rather than hiding a test's mistake.
bool ReadToasts(std::vector<Toast>* toasts) {
  DWORD bytes = 0;
  LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kSettings, L"Toasts", RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &bytes);
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
  bytes = static_cast<DWORD>((buffer.size() - 2) * sizeof(wchar_t));
  status = RegGetValueW(HKEY_CURRENT_USER, kSettings, L"Toasts", RRF_RT_REG_MULTI_SZ, nullptr, buffer.data(), &bytes);
  if (status != ERROR_SUCCESS) return false;
  for (const wchar_t* line = buffer.data(); *line; line += std::wcslen(line) + 1) {
    Toast toast;
    if (!Parse(line, &toast)) return false;
    toasts->push_back(std::move(toast));
  }
  return true;
}

// IUnknown and IInspectable for an object of the given interfaces, the
// first of them derived from IInspectable (or IUnknown for a delegate).
template <class... Interfaces>
class Object : public Interfaces... {
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

 public:
  virtual ~Object() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IidOf<IUnknown>::value || iid == IidOf<IInspectable>::value) *out = static_cast<First*>(this);
    ((iid == IidOf<Interfaces>::value ? void(*out = static_cast<Interfaces*>(this)) : void()), ...);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  // What Postlark never asks of the platform's objects.
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }

 private:
  LONG refs_ = 1;
};

// Runs `work(object)` on a thread of its own, holding a reference meanwhile.
template <class T, class Work>
void OnItsOwnThread(T* object, Work work) {
  object->AddRef();
  std::thread([object, work = std::move(work)] {
    work(object);
    object->Release();
  }).detach();
}

template <class Result>
class Operation final : public Object<IAsyncOperationOf<Result>, IAsyncInfo, IAgileObject> {
  using Handler = ICompletedHandlerOf<Result>;

 public:
  ~Operation() override {
    Drop(result_);
    Drop(handler_);
  }

  // Settles a running operation, taking `result`, and calls its handler;
  // false, dropping `result`, once it has settled already. `alongside` runs
  // as it settles, before anyone can see the new status.
  template <class Alongside>
  bool Finish(AsyncStatus status, Result result, HRESULT error, Alongside alongside) {
    Handler* handler = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (status_ != Started) {
        Drop(result);
        return false;
      }
      alongside();
      status_ = status;
      result_ = result;
      error_ = error;
      if ((handler = handler_)) handler->AddRef();
    }
    if (handler) {
      handler->Invoke(this, status);
      handler->Release();
    }
    return true;
  }
  bool Finish(AsyncStatus status, Result result, HRESULT error) {
    return Finish(status, result, error, [] {});
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
    // Set after the operation settled: called at once, from here.
    if (status != Started) handler->Invoke(this, status);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Completed(Handler**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetResults(Result* results) override {
    if (!results) return E_POINTER;
    std::lock_guard lock(mutex_);
    if (closed_) return kIllegalMethodCall;
    if (status_ == Error) return error_;
    if (status_ != Completed) return kIllegalMethodCall;
    if constexpr (std::is_pointer_v<Result>) {
      if (result_) result_->AddRef();
    }
    *results = result_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override {
    if (!id) return E_POINTER;
    std::lock_guard lock(mutex_);
    *id = id_;
    return closed_ ? kIllegalMethodCall : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
    if (!status) return E_POINTER;
    std::lock_guard lock(mutex_);
    *status = status_;
    return closed_ ? kIllegalMethodCall : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* error) override {
    if (!error) return E_POINTER;
    std::lock_guard lock(mutex_);
    *error = error_;
    return closed_ ? kIllegalMethodCall : S_OK;
  }
  // A request: the operation moves to Canceled a little later, from a
  // thread of its own, unless it settles first; once settled, nothing.
  HRESULT STDMETHODCALLTYPE Cancel() override {
    Count(L"Cancels");
    {
      std::lock_guard lock(mutex_);
      if (closed_) return kIllegalMethodCall;
      if (status_ != Started || cancelling_) return S_OK;
      cancelling_ = true;
    }
    OnItsOwnThread(this, [](Operation* self) {
      Sleep(kCancelDelayMs);
      self->Finish(Canceled, Result{}, HRESULT_FROM_WIN32(ERROR_CANCELLED));
    });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    Result result{};
    Handler* handler = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (closed_) return S_OK;
      if (status_ == Started) return kIllegalStateChange;
      closed_ = true;
      std::swap(result, result_);
      std::swap(handler, handler_);
    }
    Drop(result);
    Drop(handler);
    return S_OK;
  }

 private:
  static UINT32 NextId() {
    static LONG last = 0;
    return static_cast<UINT32>(InterlockedIncrement(&last));
  }

  std::mutex mutex_;
  const UINT32 id_ = NextId();
  AsyncStatus status_ = Started;
  Result result_{};
  HRESULT error_ = S_OK;
  Handler* handler_ = nullptr;
  bool cancelling_ = false;
  bool closed_ = false;
};

class AppDisplayInfo final : public Object<IAppDisplayInfo, IAgileObject> {
 public:
  explicit AppDisplayInfo(std::wstring name) : name_(std::move(name)) {}
  HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) override { return Text(name_, value); }
  HRESULT STDMETHODCALLTYPE get_Description(HSTRING* value) override { return Text(L"", value); }
  HRESULT STDMETHODCALLTYPE GetLogo(Size, IRandomAccessStreamReference** value) override {
    if (value) *value = nullptr;
    return E_NOTIMPL;
  }

 private:
  std::wstring name_;
};

class AppInfo final : public Object<IAppInfo, IAgileObject> {
 public:
  explicit AppInfo(const Toast& toast) : toast_(toast) {}
  HRESULT STDMETHODCALLTYPE get_Id(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AppUserModelId(HSTRING* value) override {
    if (toast_.fails & kFailsAppUserModelId) return E_FAIL;
    return Text(toast_.app, value);
  }
  HRESULT STDMETHODCALLTYPE get_DisplayInfo(IAppDisplayInfo** value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (toast_.fails & kFailsDisplayInfo) return E_FAIL;
    *value = new AppDisplayInfo(toast_.displayName);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_PackageFamilyName(HSTRING* value) override {
    if (toast_.fails & kFailsFamily) return E_FAIL;
    return Text(toast_.family, value);
  }

 private:
  Toast toast_;
};

// One toast. Its content is none of Postlark's business: there is none.
class Notification final : public Object<IUserNotification, IAgileObject> {
 public:
  explicit Notification(Toast toast) : toast_(std::move(toast)) {}
  HRESULT STDMETHODCALLTYPE get_Notification(INotification** value) override {
    if (value) *value = nullptr;
    return E_NOTIMPL;
  }
  // A toast without an app answers with none, and succeeds.
  HRESULT STDMETHODCALLTYPE get_AppInfo(IAppInfo** value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (toast_.fails & kFailsAppInfo) return E_FAIL;
    if (!toast_.app.empty()) *value = new AppInfo(toast_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Id(UINT32* value) override {
    if (!value) return E_POINTER;
    if (toast_.fails & kFailsId) return E_FAIL;
    *value = toast_.id;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CreationTime(DateTime* value) override {
    if (!value) return E_POINTER;
    if (toast_.fails & kFailsCreationTime) return E_FAIL;
    value->UniversalTime = toast_.created;
    return S_OK;
  }

 private:
  Toast toast_;
};

class Notifications final : public Object<IUserNotificationVectorView, IAgileObject> {
 public:
  explicit Notifications(const std::vector<Toast>& toasts) {
    for (const Toast& toast : toasts) items_.push_back(new Notification(toast));
  }
  ~Notifications() override {
    for (IUserNotification* item : items_) item->Release();
  }
  HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IUserNotification** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (index >= items_.size()) return kBounds;
    (*item = items_[index])->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) override {
    if (!size) return E_POINTER;
    *size = static_cast<UINT32>(items_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IndexOf(IUserNotification*, UINT32*, boolean*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMany(UINT32, UINT32, IUserNotification**, UINT32*) override { return E_NOTIMPL; }

 private:
  std::vector<IUserNotification*> items_;
};

class Listener final : public Object<IUserNotificationListener, IAgileObject> {
 public:
  HRESULT STDMETHODCALLTYPE RequestAccessAsync(IAccessStatusOperation** operation) override {
    if (!operation) return E_POINTER;
    Count(L"AccessRequests");
    auto* started = new Operation<AccessStatus>;
    if (!Setting(L"RequestHangs", 0)) {
      const auto result = static_cast<AccessStatus>(Setting(L"RequestResult", 1));
      OnItsOwnThread(started, [result](Operation<AccessStatus>* self) {
        self->Finish(Completed, result, S_OK, [result] {
          // The user's answer is the status from then on, as on Windows.
          if (result == AccessStatus::Allowed || result == AccessStatus::Denied)
            Store(L"Access", static_cast<DWORD>(result));
        });
      });
    }
    *operation = started;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAccessStatus(AccessStatus* result) override {
    if (!result) return E_POINTER;
    *result = static_cast<AccessStatus>(Setting(L"Access", 1));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE add_NotificationChanged(INotificationChangedHandler*, EventRegistrationToken*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE remove_NotificationChanged(EventRegistrationToken) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNotificationsAsync(NotificationKinds kinds,
                                                  INotificationsOperation** operation) override {
    if (!operation) return E_POINTER;
    *operation = nullptr;
    if (kinds != NotificationKinds::Toast) return E_INVALIDARG;  // all the platform serves
    Count(L"Reads");
    auto* started = new Operation<IUserNotificationVectorView*>;
    // A hanging read hangs whatever else is set; otherwise access comes first.
    if (!Setting(L"ReadHangs", 0)) {
      HRESULT error = static_cast<HRESULT>(Setting(L"ReadFails", S_OK));
      std::vector<Toast> toasts;
      if (static_cast<AccessStatus>(Setting(L"Access", 1)) != AccessStatus::Allowed)
        error = E_ACCESSDENIED;
      else if (SUCCEEDED(error) && !ReadToasts(&toasts))
        error = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
      OnItsOwnThread(started, [error, toasts = std::move(toasts)](Operation<IUserNotificationVectorView*>* self) {
        if (FAILED(error))
          self->Finish(Error, nullptr, error);
        else
          self->Finish(Completed, new Notifications(toasts), S_OK);
      });
    }
    *operation = started;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetNotification(UINT32, IUserNotification** result) override {
    if (result) *result = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ClearNotifications() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveNotification(UINT32) override { return E_NOTIMPL; }
};

class Factory final : public Object<IActivationFactory, IUserNotificationListenerStatics, IAgileObject> {
 public:
  ~Factory() override { listener_->Release(); }
  // The class has statics only.
  HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) override {
    if (instance) *instance = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Current(IUserNotificationListener** value) override {
    if (!value) return E_POINTER;
    (*value = listener_)->AddRef();
    return S_OK;
  }

 private:
  Listener* listener_ = new Listener;
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  UINT32 length = 0;
  const wchar_t* name = WindowsGetStringRawBuffer(classId, &length);
  if (length != std::wcslen(kListenerClass) || std::wmemcmp(name, kListenerClass, length) != 0)
    return CLASS_E_CLASSNOTAVAILABLE;
  // Pinned: a completion thread may still be on its way out of this DLL.
  HMODULE self;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&DllGetActivationFactory), &self);
  *factory = new Factory;
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
