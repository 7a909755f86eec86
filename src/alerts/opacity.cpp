#include "alerts/opacity.h"

namespace alerts {

void WindowOpacity::SetTranslucent(bool translucent) {
  const LONG style = GetWindowLongA(hwnd_, GWL_EXSTYLE);
  // Off flips the bit rather than clearing it, as this helper always has.
  SetWindowLongA(hwnd_, GWL_EXSTYLE, translucent ? (style | WS_EX_LAYERED) : (style ^ WS_EX_LAYERED));
  if (translucent)
    SetLayeredWindowAttributes(hwnd_, 0, opacity_, LWA_ALPHA);
  else
    InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace alerts
