#pragma once
// The Windows Runtime interfaces behind the notification list, declared once,
// from Windows.winmd as Microsoft publishes it: each interface's ID and its
// methods in metadata order, after IInspectable's three. mingw-w64 ships no
// headers for them. Pointers Postlark never follows (the toast's content,
// the app's display info, event handlers) are left as IInspectable or
// IUnknown, but every slot stays where the metadata puts it.
#include <windows.h>
#include <activation.h>
#include <asyncinfo.h>
#include <eventtoken.h>
#include <inspectable.h>
#include <objidl.h>

namespace watch::abi {

// Windows.UI.Notifications.Management.UserNotificationListenerAccessStatus (i4).
enum class UserNotificationListenerAccessStatus : INT32 { Unspecified = 0, Allowed = 1, Denied = 2 };
// Windows.UI.Notifications.NotificationKinds, a set of flags (u4).
enum class NotificationKinds : UINT32 { Unknown = 0, Toast = 1 };
// Windows.Foundation.DateTime: 100 ns ticks since 1601-01-01 UTC.
struct DateTime {
  INT64 UniversalTime;
};

// Runtime errors mingw-w64's winerror.h lacks (values from the SDK's).
constexpr HRESULT kBounds = static_cast<HRESULT>(0x8000000BL);                     // E_BOUNDS
constexpr HRESULT kIllegalStateChange = static_cast<HRESULT>(0x8000000DL);         // E_ILLEGAL_STATE_CHANGE
constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000EL);          // E_ILLEGAL_METHOD_CALL
constexpr HRESULT kIllegalDelegateAssignment = static_cast<HRESULT>(0x80000018L);  // E_ILLEGAL_DELEGATE_ASSIGNMENT

constexpr wchar_t kUserNotificationListenerClass[] = L"Windows.UI.Notifications.Management.UserNotificationListener";

// Windows.Foundation.Size: passed by value, so its 8 bytes keep the 32-bit
// stack right.
struct Size {
  FLOAT Width;
  FLOAT Height;
};

// Windows.ApplicationModel.IAppDisplayInfo
struct IAppDisplayInfo : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Description(HSTRING* value) = 0;
  // The logo, a RandomAccessStreamReference Postlark never asks for.
  virtual HRESULT STDMETHODCALLTYPE GetLogo(Size size, IInspectable** value) = 0;
};

// Windows.ApplicationModel.IAppInfo
struct IAppInfo : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Id(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AppUserModelId(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DisplayInfo(IAppDisplayInfo** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PackageFamilyName(HSTRING* value) = 0;
};

// Windows.UI.Notifications.IUserNotification
struct IUserNotification : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Notification(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AppInfo(IAppInfo** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CreationTime(DateTime* value) = 0;
};

// Windows.Foundation.Collections.IVectorView<Windows.UI.Notifications.UserNotification>
struct IUserNotificationVectorView : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IUserNotification** item) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE IndexOf(IUserNotification* value, UINT32* index, boolean* found) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 startIndex, UINT32 capacity, IUserNotification** items,
                                            UINT32* actual) = 0;
};

template <class Result>
struct IAsyncOperation;

// Windows.Foundation.AsyncOperationCompletedHandler<Result>: a delegate, so
// IUnknown's methods and then Invoke.
template <class Result>
struct IAsyncOperationCompletedHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<Result>* asyncInfo, AsyncStatus status) = 0;
};

// Windows.Foundation.IAsyncOperation<Result>. Result is the value as it
// crosses the ABI: the enum itself, or an interface pointer.
template <class Result>
struct IAsyncOperation : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE put_Completed(IAsyncOperationCompletedHandler<Result>* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Completed(IAsyncOperationCompletedHandler<Result>** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResults(Result* results) = 0;
};

using IAccessStatusOperation = IAsyncOperation<UserNotificationListenerAccessStatus>;
using IAccessStatusHandler = IAsyncOperationCompletedHandler<UserNotificationListenerAccessStatus>;
using INotificationsOperation = IAsyncOperation<IUserNotificationVectorView*>;
using INotificationsHandler = IAsyncOperationCompletedHandler<IUserNotificationVectorView*>;

// Windows.UI.Notifications.Management.IUserNotificationListener
struct IUserNotificationListener : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE RequestAccessAsync(IAccessStatusOperation** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAccessStatus(UserNotificationListenerAccessStatus* result) = 0;
  // The handler is a TypedEventHandler<UserNotificationListener, UserNotificationChangedEventArgs>.
  virtual HRESULT STDMETHODCALLTYPE add_NotificationChanged(IUnknown* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NotificationChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNotificationsAsync(NotificationKinds kinds,
                                                          INotificationsOperation** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNotification(UINT32 notificationId, IUserNotification** result) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearNotifications() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveNotification(UINT32 notificationId) = 0;
};

// Windows.UI.Notifications.Management.IUserNotificationListenerStatics
struct IUserNotificationListenerStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Current(IUserNotificationListener** value) = 0;
};

// Interface IDs, as Iid<I>::value. mingw cannot link __uuidof on our own
// types, and its IID_ objects for the system ones need a library we do not
// otherwise link. "winmd" is Windows.winmd as microsoft/windows-rs generates
// from it; "SDK header" is the Windows SDK's winrt/windows.ui.notifications.
// management.h as microsoft/win32metadata keeps it; the parameterized IDs are
// computed by scripts/winrt_iids.py.
template <class I>
struct Iid;
#define POSTLARK_ABI_IID(I, d1, d2, d3, ...)                \
  template <>                                               \
  struct Iid<I> {                                           \
    static constexpr GUID value{d1, d2, d3, {__VA_ARGS__}}; \
  }
// COM's own, from mingw-w64 unknwn.h.
POSTLARK_ABI_IID(IUnknown, 0x00000000, 0x0000, 0x0000, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// mingw-w64 inspectable.h; checked against windows-rs.
POSTLARK_ABI_IID(IInspectable, 0xaf86e2e0, 0xb12d, 0x4c6a, 0x9c, 0x5a, 0xd7, 0xaa, 0x65, 0x10, 0x1e, 0x90);
// mingw-w64 objidl.h; checked against windows-rs.
POSTLARK_ABI_IID(IAgileObject, 0x94ea2b94, 0xe9cc, 0x49e0, 0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90);
// mingw-w64 activation.h; checked against windows-rs.
POSTLARK_ABI_IID(IActivationFactory, 0x00000035, 0x0000, 0x0000, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// winmd (Windows.Foundation); checked against mingw-w64 asyncinfo.h.
POSTLARK_ABI_IID(IAsyncInfo, 0x00000036, 0x0000, 0x0000, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// winmd (Windows.ApplicationModel); checked against dwinrt's Windows/ApplicationModel/package.d.
POSTLARK_ABI_IID(IAppDisplayInfo, 0x1aeb1103, 0xe4d4, 0x41aa, 0xa4, 0xf6, 0xc4, 0xa2, 0x76, 0xe7, 0x9e, 0xac);
// winmd (Windows.ApplicationModel); checked against dwinrt's Windows/ApplicationModel/package.d.
POSTLARK_ABI_IID(IAppInfo, 0xcf7f59b3, 0x6a09, 0x4de8, 0xa6, 0xc0, 0x57, 0x92, 0xd5, 0x68, 0x80, 0xd1);
// winmd (Windows.UI.Notifications); checked against dwinrt's Windows/UI/Notifications/package.d.
POSTLARK_ABI_IID(IUserNotification, 0xadf7e52f, 0x4e53, 0x42d5, 0x9c, 0x33, 0xeb, 0x5e, 0xa5, 0x15, 0xb2, 0x3e);
// winmd; checked against the SDK header.
POSTLARK_ABI_IID(IUserNotificationListener, 0x62553e41, 0x8a06, 0x4cef, 0x82, 0x15, 0x60, 0x33, 0xa5, 0xbe, 0x4b, 0x03);
// winmd; checked against the SDK header.
POSTLARK_ABI_IID(IUserNotificationListenerStatics, 0xff6123cf, 0x4386, 0x4aa3, 0xb7, 0x3d, 0xb8, 0x04, 0xe5, 0xb6,
                 0x3b, 0x23);
// Computed; checked against the SDK header.
POSTLARK_ABI_IID(IUserNotificationVectorView, 0x5a08f98c, 0x8e45, 0x5705, 0xaf, 0x54, 0xf5, 0x41, 0x8e, 0x59, 0x83,
                 0x92);
// Computed; checked against the SDK header.
POSTLARK_ABI_IID(IAccessStatusOperation, 0x0fbad8c7, 0x086f, 0x5bf9, 0x81, 0xe2, 0x8d, 0x79, 0xe7, 0x18, 0x48, 0x03);
// Computed; checked against the SDK header.
POSTLARK_ABI_IID(IAccessStatusHandler, 0xf09e843a, 0x13cb, 0x559b, 0xa9, 0xfc, 0x01, 0x57, 0x22, 0xc2, 0xcd, 0x57);
// Computed; checked against the SDK header.
POSTLARK_ABI_IID(INotificationsOperation, 0xbf7f3d3c, 0x230f, 0x54ea, 0xad, 0x74, 0x0c, 0xf6, 0xc5, 0x5c, 0xd8, 0xd1);
// Computed; checked against the SDK header.
POSTLARK_ABI_IID(INotificationsHandler, 0x9e42ed08, 0x45b3, 0x5643, 0xb5, 0xc7, 0xb2, 0x16, 0xf5, 0x78, 0x15, 0x94);
#undef POSTLARK_ABI_IID

}  // namespace watch::abi
