#pragma once
// Where the clip window goes on a desk of one or more monitors. The
// alert shows the clip at the top right or top left of the primary monitor;
// "out of sight" means beyond every monitor, not just beyond the primary
// one, which on a desk with a second monitor beside it is on that monitor.
// Sizes given in twips become pixels at the DPI of the monitor the window
// lands on. Pure functions of the layout, so every desk can be tested.
#include <windows.h>

#include <vector>

namespace alerts {

struct Monitor {
  RECT rect;  // in virtual-screen pixels
  UINT dpi;
  bool primary;
};

struct Desk {
  std::vector<Monitor> monitors;

  const Monitor& Primary() const;
  // The bounding box of all monitors.
  RECT Virtual() const;
};

// The desk as the system reports it now.
Desk CurrentDesk();

// Where the clip window is: showing its clip in a top corner of the primary
// monitor, or parked beyond the right edge of every monitor, or the left
// with a gap of 1000 twips.
enum class Spot { TopRight, TopLeft, ParkedRight, ParkedLeft };

// The window at that spot, for a clip of that size in twips: sized at the
// primary monitor's DPI, where it plays.
RECT PlaceClip(const Desk& desk, Spot spot, float widthTwips, float heightTwips);

}  // namespace alerts
