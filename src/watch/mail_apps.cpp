#include "watch/mail_apps.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "base/text.h"

namespace watch {
namespace {

int Compare(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE);
}

bool Before(std::wstring_view a, std::wstring_view b) { return Compare(a, b) == CSTR_LESS_THAN; }

// Each entry between the ";", trimmed, with where it stands in the text.
template <class Visit>
void ForEachEntry(std::wstring_view apps, Visit visit) {
  size_t at = 0;
  while (at <= apps.size()) {
    const size_t semicolon = std::min(apps.find(L';', at), apps.size());
    const std::wstring_view entry = base::Trim(apps.substr(at, semicolon - at));
    if (!entry.empty()) visit(entry, at, semicolon);
    at = semicolon + 1;
  }
}

}  // namespace

bool NamesApp(std::wstring_view entry, std::wstring_view appUserModelId) {
  const size_t bang = appUserModelId.find(L'!');
  return Compare(entry, appUserModelId) == CSTR_EQUAL ||
         (bang != std::wstring_view::npos && Compare(entry, appUserModelId.substr(0, bang)) == CSTR_EQUAL);
}

MailApps::MailApps(const std::wstring& apps) {
  ForEachEntry(apps, [&](std::wstring_view entry, size_t, size_t) { entries_.emplace_back(entry); });
  std::sort(entries_.begin(), entries_.end(), [](const std::wstring& a, const std::wstring& b) { return Before(a, b); });
}

bool MailApps::Match(const std::wstring& appUserModelId) const {
  const auto listed = [&](std::wstring_view id) {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), id,
                                     [](const std::wstring& e, std::wstring_view v) { return Before(e, v); });
    return it != entries_.end() && Compare(*it, id) == CSTR_EQUAL;
  };
  if (appUserModelId.empty()) return false;
  const std::wstring_view id = appUserModelId;
  const size_t bang = id.find(L'!');
  // A family name has no "!": an entry equal to it names the whole package.
  return listed(id) || (bang != std::wstring_view::npos && listed(id.substr(0, bang)));
}

std::wstring AppEntry(const std::wstring& appUserModelId) {
  return appUserModelId.substr(0, appUserModelId.find(L'!'));
}

std::wstring WithApp(const std::wstring& apps, const std::wstring& appUserModelId, bool mail) {
  if (appUserModelId.empty() || MailApps(apps).Match(appUserModelId) == mail) return apps;
  if (mail) {
    const std::wstring_view kept = apps;
    const bool separated = base::Trim(kept).empty() || base::Trim(kept).back() == L';';
    return apps + (separated ? L"" : L";") + AppEntry(appUserModelId);
  }
  std::wstring left;
  size_t copied = 0;
  ForEachEntry(apps, [&](std::wstring_view entry, size_t from, size_t to) {
    if (!NamesApp(entry, appUserModelId)) return;
    left.append(apps, copied, from - copied);
    copied = std::min(to + 1, apps.size());  // the entry and its ";"
  });
  left.append(apps, copied, std::wstring::npos);
  // No ";" left dangling at the end.
  while (!left.empty() && (left.back() == L';' || left.back() == L' ' || left.back() == L'\t')) left.pop_back();
  return left;
}

std::vector<std::wstring> AppEntries(const std::wstring& apps) {
  std::vector<std::wstring> entries;
  ForEachEntry(apps, [&](std::wstring_view entry, size_t, size_t) { entries.emplace_back(entry); });
  return entries;
}

}  // namespace watch
