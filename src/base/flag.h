#pragma once
// Postlark's flags and counters keep the widths and values its stored
// settings and users have always seen.
#include <cstdint>

namespace base {

// A 16-bit flag: True is -1, False is 0.
using Flag16 = std::int16_t;
inline constexpr Flag16 kTrue = -1;
inline constexpr Flag16 kFalse = 0;

inline constexpr Flag16 ToFlag16(bool b) { return b ? kTrue : kFalse; }

// The three states of a check box. Only kTicked switches an option on.
inline constexpr std::int16_t kCleared = 0;
inline constexpr std::int16_t kTicked = 1;
inline constexpr std::int16_t kGreyed = 2;
inline constexpr bool IsTicked(std::int16_t value) { return value == kTicked; }

}  // namespace base
