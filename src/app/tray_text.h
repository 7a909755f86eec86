#pragma once
// What the tray says: the tip over the icon, line by line, and the balloon
// when the options cannot be saved.
#include <windows.h>

#include <initializer_list>
#include <string>

#include "watch/mail_source.h"

namespace app {

// The time of day in the user's short time format, without seconds: now, or
// so many milliseconds from now (before it, when negative).
std::wstring ShortTime(long long msFromNow = 0);

// "Last mail 10:42 (new Outlook)": when, and from where.
std::wstring LastMailLine(const std::wstring& time, const std::wstring& from);
// "Paused until 11:30", or "Paused" until the user resumes.
std::wstring PausedLine(const std::wstring& until);
// "Not hearing the new Outlook: Windows keeps notifications from programs";
// empty while the source hears, or is off. since: when it stopped answering.
std::wstring NotHearingLine(const wchar_t* source, const watch::SourceState& state, const std::wstring& since);
// The lines one under the other (the empty ones left out), cut to the 127
// characters a tip holds; "Postlark" while there is nothing to say.
std::wstring TrayTip(std::initializer_list<std::wstring> lines);

// "Postlark could not save its options: " and the system's words for error.
std::wstring SaveFailedText(DWORD error);

}  // namespace app
