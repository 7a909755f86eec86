#include "app/tray_text.h"

#include "base/decimal.h"
#include "base/text.h"

namespace app {

std::wstring ShortTime(long long msFromNow) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER at{{now.dwLowDateTime, now.dwHighDateTime}};
  at.QuadPart += static_cast<ULONGLONG>(msFromNow * 10000);  // FILETIME counts 100 ns
  const FILETIME then{at.LowPart, at.HighPart};
  SYSTEMTIME utc{}, local{};
  if (!FileTimeToSystemTime(&then, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return {};
  wchar_t time[80] = {};
  const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80);
  return n > 1 ? std::wstring(time, static_cast<size_t>(n - 1)) : std::wstring();
}

std::wstring LastMailLine(const std::wstring& time, const std::wstring& from) {
  return L"Last mail " + time + L" (" + from + L")";
}

std::wstring PausedLine(const std::wstring& until) { return until.empty() ? L"Paused" : L"Paused until " + until; }

std::wstring NotHearingLine(const wchar_t* source, const watch::SourceState& state, const std::wstring& since) {
  if (!state.on) return {};
  const wchar_t* why = nullptr;
  switch (state.deaf) {
    case watch::Deafness::None:
      return {};
    case watch::Deafness::Refused:
      why = L"Windows keeps notifications from programs";
      break;
    case watch::Deafness::Missing:
      why = L"the notification service is missing";
      break;
    case watch::Deafness::NotAnswering:
      return L"Not hearing the " + std::wstring(source) + L": not answering since " + since;
    case watch::Deafness::Unreachable:
      why = L"its folder cannot be reached";
      break;
  }
  return L"Not hearing the " + std::wstring(source) + L": " + why;
}

std::wstring TrayTip(std::initializer_list<std::wstring> lines) {
  constexpr size_t kLongest = 127;  // a NUL fills the tip's 128th place
  std::wstring tip;
  for (const std::wstring& line : lines)
    if (!line.empty()) tip += (tip.empty() ? L"" : L"\n") + line;
  if (tip.empty()) tip = L"Postlark";
  if (tip.size() > kLongest) tip.resize(kLongest);
  return tip;
}

std::wstring SaveFailedText(DWORD error) {
  wchar_t* words = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                     FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
  std::wstring why = n && words ? std::wstring(base::Trim(std::wstring_view(words, n))) : L"error " + base::DecimalW(error);
  if (words) LocalFree(words);
  while (!why.empty() && (why.back() == L'\r' || why.back() == L'\n' || why.back() == L'.')) why.pop_back();
  return L"Postlark could not save its options: " + why + L".";
}

}  // namespace app
