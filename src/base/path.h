#pragma once
// Paths as the user gives them.
#include <cwctype>
#include <string>

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
