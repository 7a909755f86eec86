#include "alerts/alpha_blend.h"

void clsAlphaBlend::set_Transparent(VbBool transparent) {
  transparent_ = transparent;
  const LONG style = GetWindowLongA(hWnd_, GWL_EXSTYLE);
  SetWindowLongA(hWnd_, GWL_EXSTYLE, TransparentStyle(style, transparent_ != vbFalse));
  if (transparent_ != vbFalse)
    SetLayeredWindowAttributes(hWnd_, 0, opacity_, LWA_ALPHA);
  else
    InvalidateRect(hWnd_, nullptr, TRUE);
}
