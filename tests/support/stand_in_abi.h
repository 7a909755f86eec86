#pragma once
// The Windows Runtime interfaces the notification stand-in serves, written
// for the stand-in alone from Microsoft's published metadata headers
// (microsoft/win32metadata, generation/WinSDK/RecompiledIdlHeaders/winrt/),
// never from Postlark's own declarations: a slip on either side then shows
// as a refused query or a wrong answer in the tests, not as a silent match.
// Every method is in its metadata slot, after IInspectable's three (or
// IUnknown's, for a delegate). Parameters the stand-in never follows keep
// their real pointer types, declared incomplete.
#include <windows.h>
#include <activation.h>
#include <asyncinfo.h>
#include <eventtoken.h>
#include <hstring.h>
#include <inspectable.h>
#include <objidl.h>

namespace stand_in {

// Windows.UI.Notifications.Management.UserNotificationListenerAccessStatus (int).
enum class AccessStatus : INT32 { Unspecified = 0, Allowed = 1, Denied = 2 };
// Windows.UI.Notifications.NotificationKinds, flags (unsigned int).
enum class NotificationKinds : UINT32 { Unknown = 0, Toast = 0x1 };
// Windows.Foundation.DateTime: 100 ns ticks since 1601-01-01 UTC.
struct DateTime {
  INT64 UniversalTime;
};
// Windows.Foundation.Size, passed by value to GetLogo: its 8 bytes matter
// to a 32-bit callee that pops its own arguments.
struct Size {
  FLOAT Width;
  FLOAT Height;
};

// Errors of the Windows Runtime that mingw-w64's winerror.h lacks, by
// their SDK names: E_BOUNDS, E_ILLEGAL_STATE_CHANGE, E_ILLEGAL_METHOD_CALL,
// E_ILLEGAL_DELEGATE_ASSIGNMENT.
inline constexpr HRESULT kBounds = static_cast<HRESULT>(0x8000000BL);
inline constexpr HRESULT kIllegalStateChange = static_cast<HRESULT>(0x8000000DL);
inline constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000EL);
inline constexpr HRESULT kIllegalDelegateAssignment = static_cast<HRESULT>(0x80000018L);

inline constexpr wchar_t kListenerClass[] = L"Windows.UI.Notifications.Management.UserNotificationListener";

// Never followed by the stand-in: only their pointers cross.
struct INotification;                 // Windows.UI.Notifications.INotification
struct IRandomAccessStreamReference;  // Windows.Storage.Streams.IRandomAccessStreamReference
// Windows.Foundation.TypedEventHandler<UserNotificationListener, UserNotificationChangedEventArgs>
struct INotificationChangedHandler;

// Windows.ApplicationModel.IAppDisplayInfo
struct IAppDisplayInfo : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Description(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLogo(Size size, IRandomAccessStreamReference** value) = 0;
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
  virtual HRESULT STDMETHODCALLTYPE get_Notification(INotification** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AppInfo(IAppInfo** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CreationTime(DateTime* value) = 0;
};

// Windows.Foundation.Collections.IVectorView`1<Windows.UI.Notifications.UserNotification>
struct IUserNotificationVectorView : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IUserNotification** result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE IndexOf(IUserNotification* value, UINT32* index, boolean* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 startIndex, UINT32 itemsLength, IUserNotification** items,
                                            UINT32* result) = 0;
};

// Windows.Foundation.IAsyncOperation`1 and AsyncOperationCompletedHandler`1
// for one result type, as it crosses the ABI (an enum or an interface
// pointer). The handler is a delegate: IUnknown, then Invoke.
template <class Result>
struct IAsyncOperationOf;
template <class Result>
struct ICompletedHandlerOf : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationOf<Result>* asyncInfo, AsyncStatus asyncStatus) = 0;
};
template <class Result>
struct IAsyncOperationOf : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE put_Completed(ICompletedHandlerOf<Result>* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Completed(ICompletedHandlerOf<Result>** result) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResults(Result* result) = 0;
};
using IAccessStatusOperation = IAsyncOperationOf<AccessStatus>;
using IAccessStatusHandler = ICompletedHandlerOf<AccessStatus>;
using INotificationsOperation = IAsyncOperationOf<IUserNotificationVectorView*>;
using INotificationsHandler = ICompletedHandlerOf<IUserNotificationVectorView*>;

// Windows.UI.Notifications.Management.IUserNotificationListener
struct IUserNotificationListener : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE RequestAccessAsync(IAccessStatusOperation** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAccessStatus(AccessStatus* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_NotificationChanged(INotificationChangedHandler* handler,
                                                            EventRegistrationToken* token) = 0;
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

// An interface ID from its text exactly as the metadata prints it, read at
// compile time: malformed text stops the build.
namespace detail {
void MalformedGuid();  // never defined: reaching it is no constant
consteval unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  MalformedGuid();
  return 0;
}
consteval unsigned long Hex(const char* text, int digits) {
  unsigned long value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[i]);
  return value;
}
}  // namespace detail

consteval GUID Guid(const char (&text)[37]) {
  if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-' || text[36] != '\0')
    detail::MalformedGuid();
  GUID guid{};
  guid.Data1 = detail::Hex(text, 8);
  guid.Data2 = static_cast<unsigned short>(detail::Hex(text + 9, 4));
  guid.Data3 = static_cast<unsigned short>(detail::Hex(text + 14, 4));
  guid.Data4[0] = static_cast<unsigned char>(detail::Hex(text + 19, 2));
  guid.Data4[1] = static_cast<unsigned char>(detail::Hex(text + 21, 2));
  for (int i = 0; i < 6; ++i) guid.Data4[2 + i] = static_cast<unsigned char>(detail::Hex(text + 24 + 2 * i, 2));
  return guid;
}

// IidOf<I>::value: plain constants, since mingw cannot link __uuidof on
// types of our own. scripts/winrt_iids.py --check reads these lines too.
template <class I>
struct IidOf;
#define STAND_IN_IID(I, text)                             \
  template <>                                             \
  struct IidOf<I> {                                       \
    static constexpr GUID value = ::stand_in::Guid(text); \
  }

// COM's own (mingw-w64 unknwn.h).
STAND_IN_IID(IUnknown, "00000000-0000-0000-C000-000000000046");
// winrt/inspectable.h.
STAND_IN_IID(IInspectable, "AF86E2E0-B12D-4c6a-9C5A-D7AA65101E90");
// mingw-w64 objidl.h.
STAND_IN_IID(IAgileObject, "94ea2b94-e9cc-49e0-c0ff-ee64ca8f5b90");
// winrt/activation.h.
STAND_IN_IID(IActivationFactory, "00000035-0000-0000-C000-000000000046");
// winrt/asyncinfo.h.
STAND_IN_IID(IAsyncInfo, "00000036-0000-0000-C000-000000000046");
// winrt/Windows.ApplicationModel.h.
STAND_IN_IID(IAppDisplayInfo, "1aeb1103-e4d4-41aa-a4f6-c4a276e79eac");
// winrt/Windows.ApplicationModel.h.
STAND_IN_IID(IAppInfo, "cf7f59b3-6a09-4de8-a6c0-5792d56880d1");
// winrt/windows.ui.notifications.h.
STAND_IN_IID(IUserNotification, "adf7e52f-4e53-42d5-9c33-eb5ea515b23e");
// winrt/windows.ui.notifications.management.h.
STAND_IN_IID(IUserNotificationListener, "62553e41-8a06-4cef-8215-6033a5be4b03");
// winrt/windows.ui.notifications.management.h.
STAND_IN_IID(IUserNotificationListenerStatics, "ff6123cf-4386-4aa3-b73d-b804e5b63b23");
// Parameterized: the literal in winrt/windows.ui.notifications.management.h,
// checked against scripts/winrt_iids.py.
STAND_IN_IID(IUserNotificationVectorView, "5a08f98c-8e45-5705-af54-f5418e598392");
STAND_IN_IID(IAccessStatusOperation, "0fbad8c7-086f-5bf9-81e2-8d79e7184803");
STAND_IN_IID(IAccessStatusHandler, "f09e843a-13cb-559b-a9fc-015722c2cd57");
STAND_IN_IID(INotificationsOperation, "bf7f3d3c-230f-54ea-ad74-0cf6c55cd8d1");
STAND_IN_IID(INotificationsHandler, "9e42ed08-45b3-5643-b5c7-b216f5781594");
#undef STAND_IN_IID

// The text reader, held to one ID whose numbers mingw-w64 also prints.
static_assert(IidOf<IAgileObject>::value.Data1 == 0x94ea2b94 && IidOf<IAgileObject>::value.Data2 == 0xe9cc &&
              IidOf<IAgileObject>::value.Data3 == 0x49e0 && IidOf<IAgileObject>::value.Data4[0] == 0xc0 &&
              IidOf<IAgileObject>::value.Data4[1] == 0xff && IidOf<IAgileObject>::value.Data4[7] == 0x90);

}  // namespace stand_in
