#pragma once
// Makes a top-level window see-through with a constant alpha, and opaque
// again, through the layered-window style. Setting hWnd or Opacity only
// stores the value; setting Transparent acts on the window.
#include <windows.h>

#include <cstdint>

#include "base/flag.h"

namespace alerts {

class clsAlphaBlend {
 public:
  void set_hWnd(HWND hwnd) { hWnd_ = hwnd; }
  void set_Opacity(std::uint8_t opacity) { opacity_ = opacity; }
  // True: add the layered style and apply Opacity. False: flip the layered
  // style (it goes off after a True) and repaint.
  void set_Transparent(base::Flag16 transparent);

 private:
  HWND hWnd_ = nullptr;
  std::uint8_t opacity_ = 0;
  base::Flag16 transparent_ = base::kFalse;
};

// The style arithmetic on its own: what the extended style becomes.
inline LONG TransparentStyle(LONG exStyle, bool transparent) {
  return transparent ? (exStyle | WS_EX_LAYERED) : (exStyle ^ WS_EX_LAYERED);
}

}  // namespace alerts
