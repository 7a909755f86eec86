#pragma once
// Text as users and the registry hand it over.
#include <string>
#include <string_view>

namespace base {

// Without the blanks and tabs around it: what pasting and typing leave.
inline std::wstring_view Trim(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace base
