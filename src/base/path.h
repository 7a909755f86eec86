#pragma once
// Paths as Windows hands them over: Explorer's "Copy as path" puts quotes
// around a path, and pasted text often carries blanks at its ends. The text
// the user typed is kept as it is; this is what is used.
#include <string>

namespace base {

inline std::wstring BarePath(const std::wstring& text) {
  const auto trim = [](const std::wstring& t) {
    const size_t first = t.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : t.substr(first, t.find_last_not_of(L" \t") - first + 1);
  };
  std::wstring path = trim(text);
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = trim(path.substr(1, path.size() - 2));
  return path;
}

}  // namespace base
