#include "alerts/alpha_blend.h"

namespace alerts {

void clsAlphaBlend::set_Transparent(base::Flag16 transparent) {
  transparent_ = transparent;
  const LONG style = GetWindowLongA(hWnd_, GWL_EXSTYLE);
  SetWindowLongA(hWnd_, GWL_EXSTYLE, TransparentStyle(style, transparent_ != base::kFalse));
  if (transparent_ != base::kFalse)
    SetLayeredWindowAttributes(hWnd_, 0, opacity_, LWA_ALPHA);
  else
    InvalidateRect(hWnd_, nullptr, TRUE);
}

}  // namespace alerts
