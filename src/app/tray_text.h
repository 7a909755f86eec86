#pragma once
// What the tray says: the tip over the icon, line by line, and the balloon
// when the options cannot be saved.
#include <windows.h>

#include <string>

#include "watch/mail_source.h"

namespace app {

// The time of day in the user's short time format, without seconds: now, or
// so many milliseconds ago.
std::wstring ShortTime(ULONGLONG msAgo = 0);

// "Postlark: last mail at 14:05"; "Postlark" before any.
std::wstring LastMailLine(const std::wstring& time);
// "Not hearing the new Outlook: Windows keeps notifications from programs";
// empty while the source hears, or is off. since: when it stopped answering.
std::wstring NotHearingLine(const wchar_t* source, const watch::SourceState& state, const std::wstring& since);
// The lines one under the other, cut to the 127 characters a tip holds.
std::wstring TrayTip(const std::wstring& first, const std::wstring& second);

// "Postlark could not save its options: " and the system's words for error.
std::wstring SaveFailedText(DWORD error);

}  // namespace app
