#pragma once
// Paths as the user gives them.
#include <cwctype>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/text.h"

namespace base {

// The longest path Windows can name, and so the longest text Postlark keeps.
inline constexpr size_t kLongestText = 32767;

// Explorer's "Copy as path" puts quotes around a path, and pasted text often
// carries blanks at its ends. The text the user typed is kept as it is; this
// is what is used.
inline std::wstring BarePath(const std::wstring& text) {
  std::wstring_view path = Trim(text);
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = Trim(path.substr(1, path.size() - 2));
  return std::wstring(path);
}

// The text after the last backslash: only the backslash separates.
inline std::wstring FinalComponent(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A path that names a device, not a file: opening one can toggle a serial
// port's lines or take the port from its owner. CON, NUL, AUX, PRN, COM1-9,
// LPT1-9 (superscript digits too) and the console's CONIN$ and CONOUT$, as
// the last part of any path, with an extension or not; anything in the
// device namespace (\\.\...) or under \\?\GLOBALROOT; a named pipe, here or
// on a server (\\server\pipe\...).
inline bool NamesDevice(const std::wstring& path) {
  const auto upper = [](std::wstring_view t) {
    std::wstring u(t);
    for (wchar_t& c : u) c = static_cast<wchar_t>(std::towupper(c));
    return u;
  };
  const std::wstring whole = upper(path);
  if (whole.rfind(L"\\\\.\\", 0) == 0 || whole.rfind(L"\\\\?\\GLOBALROOT", 0) == 0) return true;
  // \\server\pipe\..., and the same behind \\?\UNC\.
  const size_t share = whole.rfind(L"\\\\?\\UNC\\", 0) == 0 ? 8 : whole.rfind(L"\\\\", 0) == 0 ? 2 : 0;
  if (share) {
    const size_t slash = whole.find(L'\\', share);
    if (slash != std::wstring::npos && whole.compare(slash, 6, L"\\PIPE\\") == 0) return true;
  }
  // The last part's name before any extension, as Windows reads it: blanks
  // and a stream or drive colon after it do not count.
  std::wstring_view name = whole;
  if (const size_t slash = name.find_last_of(L"\\/"); slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
  if (name.size() >= 2 && name[1] == L':') name.remove_prefix(2);
  name = name.substr(0, name.find_first_of(L".:"));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
  for (const wchar_t* device : {L"CON", L"NUL", L"AUX", L"PRN", L"CONIN$", L"CONOUT$"})
    if (name == device) return true;
  if (name.size() == 4 && (name.substr(0, 3) == L"COM" || name.substr(0, 3) == L"LPT")) {
    const wchar_t n = name[3];
    return (n >= L'1' && n <= L'9') || n == L'\u00b9' || n == L'\u00b2' || n == L'\u00b3';
  }
  return false;
}

// A relative path in `folder`: a path from the root (\x) on that folder's
// drive or share, anything else under the folder itself. A whole path stays
// as it is; "C:x" is left alone too, since it means nothing fixed.
inline std::wstring InFolder(const std::wstring& path, const std::wstring& folder) {
  const auto drive = [](const std::wstring& p) { return p.size() >= 2 && std::iswalpha(p[0]) && p[1] == L':'; };
  if (path.empty() || folder.empty()) return path;
  if (path.rfind(L"\\\\", 0) == 0) return path;  // a share, or \\?\...
  if (drive(path)) return path;
  if (path[0] == L'\\') {
    size_t root = 2;
    if (folder.rfind(L"\\\\", 0) == 0) {
      root = folder.find(L'\\', folder.find(L'\\', 2) + 1);
      if (root == std::wstring::npos) root = folder.size();
    }
    return folder.substr(0, root) + path;
  }
  return folder + (folder.back() == L'\\' ? L"" : L"\\") + path;
}

}  // namespace base
