// The opacity helper on a real layered window.
#include <gtest/gtest.h>

#include "alerts/alpha_blend.h"

namespace {

class AlphaBlendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    blend.set_hWnd(hwnd);
  }
  void TearDown() override { DestroyWindow(hwnd); }
  bool Layered() const { return GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED; }
  BYTE Alpha() const {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags);
    return alpha;
  }
  HWND hwnd = nullptr;
  alerts::clsAlphaBlend blend;
};

// A helper nothing calls yet: True applies the stored opacity, False flips
// the layered style.
TEST_F(AlphaBlendTest, TrueAppliesTheStoredOpacityAndFalseFlipsTheLayeredStyle) {
  blend.set_Transparent(base::kTrue);
  EXPECT_TRUE(Layered());
  EXPECT_EQ(Alpha(), 0) << "the initial opacity is fully transparent";
  blend.set_Opacity(128);
  EXPECT_EQ(Alpha(), 0) << "a new opacity waits for the next True";
  blend.set_Transparent(base::kTrue);
  EXPECT_EQ(Alpha(), 128);
  blend.set_Transparent(base::kFalse);
  EXPECT_FALSE(Layered());
  blend.set_Transparent(base::kFalse);
  EXPECT_TRUE(Layered()) << "False on a window that is not layered switches the style on";
}

}  // namespace
