#include "support/notifications.h"

#include <cstdio>
#include <string_view>

#include "support/paths.h"

namespace testing_support {

namespace {

const wchar_t kClassKey[] =
    L"Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    L"Windows.UI.Notifications.Management.UserNotificationListener";
const wchar_t kSettings[] = L"Software\\Postlark\\Test\\Notifications";
// The class is looked up in the registry view of the caller's bitness, the
// DLL's too.
const REGSAM kView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

void SetDword(const wchar_t* name, DWORD value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, name, REG_DWORD, &value, sizeof value);
}

DWORD GetDword(const wchar_t* name, DWORD fallback = 0) {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
             ? value
             : fallback;
}

// A text field of a toast's line: the separator, the escape and NUL (which
// would end the line) as %XX.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'%' || c == L'|' || c == L'\0') {
      wchar_t code[4];
      std::swprintf(code, 4, L"%%%02X", static_cast<unsigned>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out;
}

// One toast, as the stand-in reads it:
//   id|created|fails|appUserModelId|packageFamilyName|displayName
std::wstring Line(const StandInToast& toast) {
  return std::to_wstring(toast.id) + L'|' + std::to_wstring(toast.created) + L'|' + std::to_wstring(toast.fails) +
         L'|' + Escaped(toast.app) + L'|' + Escaped(toast.family) + L'|' + Escaped(toast.displayName);
}

class Key {
 public:
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

StandInNotifications::StandInNotifications() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
  Key key;
  DWORD created = 0;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kClassKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE | kView, nullptr,
                      key.Out(), &created) != ERROR_SUCCESS)
    return;
  // Windows' own class is never written over, nor its key deleted; one that
  // a test which crashed left behind is taken over.
  wchar_t was[MAX_PATH] = {};
  DWORD size = sizeof was;
  RegGetValueW(key.get(), nullptr, L"DllPath", RRF_RT_REG_SZ, nullptr, was, &size);
  const std::wstring_view left = was, ours = L"stand_in_notifications.dll";
  windowsOwn_ = created == REG_OPENED_EXISTING_KEY &&
                !(left.size() >= ours.size() && _wcsicmp(was + left.size() - ours.size(), ours.data()) == 0);
  if (windowsOwn_) return;
  const std::wstring dll = StandInNotificationsDll();
  const DWORD zero = 0;
  registered_ = RegSetValueExW(key.get(), L"DllPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                               static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
                RegSetValueExW(key.get(), L"ActivationType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                               sizeof zero) == ERROR_SUCCESS &&
                RegSetValueExW(key.get(), L"Threading", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                               sizeof zero) == ERROR_SUCCESS;
}

StandInNotifications::~StandInNotifications() {
  if (!windowsOwn_) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kClassKey, kView, 0);
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
}

void StandInNotifications::SetAccess(StandInAccess access) { SetDword(L"Access", static_cast<DWORD>(access)); }
StandInAccess StandInNotifications::Access() const {
  return static_cast<StandInAccess>(GetDword(L"Access", static_cast<DWORD>(StandInAccess::Allowed)));
}
void StandInNotifications::SetRequestResult(StandInAccess result) {
  SetDword(L"RequestResult", static_cast<DWORD>(result));
}
void StandInNotifications::SetRequestHangs(bool hangs) { SetDword(L"RequestHangs", hangs ? 1 : 0); }

void StandInNotifications::SetToasts(const std::vector<StandInToast>& toasts) {
  std::wstring lines;
  for (const StandInToast& toast : toasts) lines += Line(toast) + L'\0';
  lines += L'\0';
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, L"Toasts", REG_MULTI_SZ, lines.c_str(),
                  static_cast<DWORD>((lines.size() + 1) * sizeof(wchar_t)));
}

void StandInNotifications::SetReadFails(HRESULT error) { SetDword(L"ReadFails", static_cast<DWORD>(error)); }
void StandInNotifications::SetReadHangs(bool hangs) { SetDword(L"ReadHangs", hangs ? 1 : 0); }
DWORD StandInNotifications::Reads() const { return GetDword(L"Reads"); }
DWORD StandInNotifications::AccessRequests() const { return GetDword(L"AccessRequests"); }
DWORD StandInNotifications::Cancels() const { return GetDword(L"Cancels"); }

}  // namespace testing_support
