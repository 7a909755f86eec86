// The clip window's places on desks of one and several monitors: on screen
// at the top corners of the primary monitor, out of sight beyond all of them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "alerts/placement.h"

namespace {

using alerts::Desk;
using alerts::Spot;

struct Layout {
  const char* name;
  Desk desk;
};

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
         ", " + std::to_string(r.bottom) + ")";
}

bool OnAnyMonitor(const Desk& desk, const RECT& r) {
  for (const alerts::Monitor& m : desk.monitors) {
    RECT overlap;
    if (IntersectRect(&overlap, &r, &m.rect)) return true;
  }
  return false;
}

std::vector<Layout> Layouts() {
  return {
      {"one monitor", {{{{0, 0, 1280, 1024}, 96, true}}}},
      {"second to the right", {{{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 3200, 1024}, 96, false}}}},
      {"second to the left", {{{{0, 0, 1920, 1080}, 96, true}, {{-1280, 0, 0, 1024}, 96, false}}}},
      {"second above", {{{{0, 0, 1920, 1080}, 96, true}, {{0, -1440, 2560, 0}, 144, false}}}},
      {"left and lower, negative coordinates",
       {{{{-2560, 300, 0, 1740}, 144, false}, {{0, 0, 1920, 1080}, 96, true}}}},
      {"primary at 200 percent, second at 100 to the left",
       {{{{0, 0, 3840, 2160}, 192, true}, {{-1920, 0, 0, 1080}, 96, false}}}},
      {"primary at 100 percent, second at 200 to the left",
       {{{{0, 0, 1920, 1080}, 96, true}, {{-3840, -500, 0, 1660}, 192, false}}}},
      {"three in a row", {{{{-1024, 0, 0, 768}, 96, false}, {{0, 0, 1600, 900}, 120, true},
                           {{1600, 0, 2880, 1024}, 144, false}}}},
  };
}

class PlacementOnDesks : public ::testing::TestWithParam<Layout> {};

TEST_P(PlacementOnDesks, TheClipShowsAtTheTopCornersOfThePrimaryMonitor) {
  const Desk& desk = GetParam().desk;
  const RECT primary = desk.Primary().rect;
  const UINT dpi = desk.Primary().dpi;
  // A clip of 2400 x 1800 twips: 160 x 120 pixels at 96 DPI.
  const RECT right = alerts::PlaceClip(desk, Spot::TopRight, 2400, 1800);
  EXPECT_EQ(right.right, primary.right) << Text(right);
  EXPECT_EQ(right.top, primary.top) << Text(right);
  EXPECT_EQ(right.right - right.left, static_cast<LONG>(160 * dpi / 96)) << "sized at the primary's DPI";
  EXPECT_EQ(right.bottom - right.top, static_cast<LONG>(120 * dpi / 96));
  const RECT left = alerts::PlaceClip(desk, Spot::TopLeft, 2400, 1800);
  EXPECT_EQ(left.left, primary.left) << Text(left);
  EXPECT_EQ(left.top, primary.top) << Text(left);
}

TEST_P(PlacementOnDesks, ParkedWindowsAreOffEveryMonitor) {
  const Desk& desk = GetParam().desk;
  // Clip sizes from small to wider than any monitor.
  for (const float width : {2400.0f, 9600.0f, 60000.0f}) {
    for (const Spot spot : {Spot::ParkedLeft, Spot::ParkedRight}) {
      const RECT parked = alerts::PlaceClip(desk, spot, width, 1800);
      EXPECT_FALSE(OnAnyMonitor(desk, parked)) << Text(parked) << (spot == Spot::ParkedLeft ? " left" : " right");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PlacementOnDesks, ::testing::ValuesIn(Layouts()),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c)
                             name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           return name;
                         });

TEST(Placement, TheParkingGapIsTakenAtTheDpiOfTheMonitorBesideIt) {
  const Desk desk{{{{0, 0, 1920, 1080}, 96, true}, {{-3840, 0, 0, 2160}, 192, false}}};
  const RECT parked = alerts::PlaceClip(desk, Spot::ParkedLeft, 2400, 1800);
  EXPECT_EQ(parked.right, -3840 - 1000 * 192 / 1440);
}

}  // namespace
