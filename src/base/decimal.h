#pragma once
// Whole numbers as plain decimal text ("0", "-12"). Written out by hand: the
// C library's formatting would add tens of kilobytes to a small exe.
#include <string>

namespace base {

template <typename Char>
std::basic_string<Char> Decimal(long long value) {
  Char digits[24];
  int n = 0;
  unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    digits[n++] = static_cast<Char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  std::basic_string<Char> text;
  if (value < 0) text.push_back(static_cast<Char>('-'));
  while (n) text.push_back(digits[--n]);
  return text;
}

inline std::wstring DecimalW(long long value) { return Decimal<wchar_t>(value); }
inline std::string DecimalA(long long value) { return Decimal<char>(value); }

}  // namespace base
