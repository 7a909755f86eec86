#pragma once
// Makes a top-level window see-through with a constant alpha, and opaque
// again, through the layered-window style. Setting the window or the
// opacity only stores the value; setting translucency acts on the window.
#include <windows.h>

#include <cstdint>

namespace alerts {

class WindowOpacity {
 public:
  void SetWindow(HWND hwnd) { hwnd_ = hwnd; }
  void SetOpacity(std::uint8_t opacity) { opacity_ = opacity; }
  // On: add the layered style and apply the opacity. Off: flip the layered
  // style (it goes off after an on) and repaint.
  void SetTranslucent(bool translucent);

 private:
  HWND hwnd_ = nullptr;
  std::uint8_t opacity_ = 0;
};

}  // namespace alerts
