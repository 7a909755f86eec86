// The opacity helper on a real layered window.
#include <gtest/gtest.h>

#include "alerts/opacity.h"

namespace {

BYTE Alpha(HWND hwnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags);
  return alpha;
}

// A helper nothing calls yet: on applies the stored opacity, off flips the
// layered style.
TEST(WindowOpacity, OnAppliesTheStoredOpacityAndOffFlipsTheLayeredStyle) {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                              nullptr);
  ASSERT_NE(hwnd, nullptr);
  const auto layered = [&] { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  alerts::WindowOpacity opacity;
  opacity.SetWindow(hwnd);
  opacity.SetTranslucent(true);
  EXPECT_TRUE(layered());
  EXPECT_EQ(Alpha(hwnd), 0) << "the initial opacity is fully transparent";
  opacity.SetOpacity(128);
  EXPECT_EQ(Alpha(hwnd), 0) << "a new opacity waits for the next on";
  opacity.SetTranslucent(true);
  EXPECT_EQ(Alpha(hwnd), 128);
  opacity.SetTranslucent(false);
  EXPECT_FALSE(layered());
  opacity.SetTranslucent(false);
  EXPECT_TRUE(layered()) << "off on a window that is not layered switches the style on";
  DestroyWindow(hwnd);
}

}  // namespace
