#pragma once
// Postlark's flags and counters keep the widths and values users and stored
// settings have always seen: 16-bit booleans with True = -1.
#include <cstdint>

using VbBool = std::int16_t;
inline constexpr VbBool vbTrue = -1;
inline constexpr VbBool vbFalse = 0;

inline constexpr VbBool ToVbBool(bool b) { return b ? vbTrue : vbFalse; }

// Check box values: clear, ticked, greyed. Only "ticked" switches an option on.
inline constexpr std::int16_t vbUnchecked = 0;
inline constexpr std::int16_t vbChecked = 1;
inline constexpr std::int16_t vbGrayed = 2;
