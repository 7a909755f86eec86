#pragma once
// The notification-icon record in its first, 88-byte form with 8-bit text:
// what Shell_NotifyIconA takes from every version of the shell. Postlark's own
// tray icon and the envelope probe both build records of this form.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

namespace watch {

struct NotifyIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  char szTip[64];
};

static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(sizeof(NotifyIconRecord) == NOTIFYICONDATAA_V1_SIZE);
#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(NotifyIconRecord) == 88, "the shipped 32-bit record is 88 bytes");
#endif

inline BOOL NotifyIcon(DWORD message, NotifyIconRecord& record) {
  return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&record));
}

}  // namespace watch
