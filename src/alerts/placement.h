#pragma once
// Where the animation window goes on a desk of one or more monitors. The
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

// The clip at the top of the primary monitor: at its right edge (-1) or at
// left_pos twips from its left edge. width and height are twips.
RECT PlaceOnScreen(const Desk& desk, int left_pos, float widthTwips, float heightTwips);

// A window of the given pixel size parked beyond the right edge of every
// monitor, or beyond the left edge with a gap of 1000 twips.
enum class Side { Left, Right };
RECT Park(const Desk& desk, Side side, SIZE pixels);

// The left positions (twips) that start-up uses to mean "beyond the right
// edge": the screen's width or more.
bool MeansParkedRight(const Desk& desk, int left_pos);

}  // namespace alerts
