#pragma once
// The mail apps: whose notifications are mail, as the user lists them in
// the option NotifyApps, and as the tray's menu changes that list.
#include <string>
#include <string_view>
#include <vector>

namespace watch {

// The mail apps, as the user lists them with ";" between them: an entry
// with "!" is an app user model ID, matched whole; one without is a package
// family name (the part of an app ID before "!"), or a desktop program's
// whole app ID. Blanks and tabs around an entry and empty entries do not
// count; letter case does not either, as the system compares it.
class MailApps {
 public:
  explicit MailApps(const std::wstring& apps = L"");
  bool Match(const std::wstring& appUserModelId) const;

 private:
  std::vector<std::wstring> entries_;  // in the system's case-blind order
};

// Whether a list's entry names the app: its whole ID, or its package's
// family name.
bool NamesApp(std::wstring_view entry, std::wstring_view appUserModelId);
// The entry that names an app in the list: a packaged app's family name
// (the part of its app ID before "!": every app of the package), or a
// desktop program's whole app ID.
std::wstring AppEntry(const std::wstring& appUserModelId);
// The list with the app counted as mail, or not: its entry added at the end,
// or every entry that names it taken out. The other entries stay as the
// user wrote them.
std::wstring WithApp(const std::wstring& apps, const std::wstring& appUserModelId, bool mail);
// The entries, trimmed, in the order written.
std::vector<std::wstring> AppEntries(const std::wstring& apps);

}  // namespace watch
