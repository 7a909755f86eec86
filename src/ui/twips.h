#pragma once
// Twips (1/1440 inch) are the unit of every stored position; pixels exist only
// at the window edge, converted at the DPI the window is shown at.
#include <windows.h>

#include <cmath>

namespace ui {

inline constexpr int kTwipsPerInch = 1440;

inline int TwipsToPixels(double twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

// DPI of a window (or of the system when hwnd is null), falling back to the
// screen DC on systems without per-window DPI.
UINT DpiFor(HWND hwnd);

}  // namespace ui
