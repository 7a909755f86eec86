#include "alerts/placement.h"

#include <algorithm>

#include "base/system_dll.h"
#include "ui/twips.h"

namespace alerts {
namespace {

constexpr int kParkGapTwips = 1000;

// shcore's GetDpiForMonitor, where the system has it (Windows 8.1 on).
UINT MonitorDpi(HMONITOR monitor) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpi = base::SystemProc<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpi && SUCCEEDED(getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && x) return x;
  return ui::DpiFor(nullptr);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<Desk*>(param)->monitors.push_back(
        {info.rcMonitor, MonitorDpi(monitor), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

// The monitor a window parked on the left is nearest to: the leftmost one,
// the one level with the primary monitor's top if several are.
const Monitor& Leftmost(const Desk& desk) {
  const int top = desk.Primary().rect.top;
  const Monitor* best = &desk.monitors.front();
  for (const Monitor& m : desk.monitors) {
    const bool level = m.rect.top <= top && top < m.rect.bottom;
    if (m.rect.left < best->rect.left || (m.rect.left == best->rect.left && level)) best = &m;
  }
  return *best;
}

}  // namespace

const Monitor& Desk::Primary() const {
  for (const Monitor& m : monitors)
    if (m.primary) return m;
  return monitors.front();
}

RECT Desk::Virtual() const {
  RECT v = monitors.front().rect;
  for (const Monitor& m : monitors) {
    v.left = std::min(v.left, m.rect.left);
    v.top = std::min(v.top, m.rect.top);
    v.right = std::max(v.right, m.rect.right);
    v.bottom = std::max(v.bottom, m.rect.bottom);
  }
  return v;
}

Desk CurrentDesk() {
  Desk desk;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&desk));
  if (desk.monitors.empty())
    desk.monitors.push_back(
        {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, ui::DpiFor(nullptr), true});
  return desk;
}

RECT PlaceClip(const Desk& desk, Spot spot, float widthTwips, float heightTwips) {
  const Monitor& primary = desk.Primary();
  const int width = ui::TwipsToPixels(widthTwips, primary.dpi);
  const int height = ui::TwipsToPixels(heightTwips, primary.dpi);
  const RECT all = desk.Virtual();
  const int top = primary.rect.top;
  int left = 0;
  switch (spot) {
    case Spot::TopRight:
      left = primary.rect.right - width;
      break;
    case Spot::TopLeft:
      left = primary.rect.left;
      break;
    case Spot::ParkedRight:
      left = all.right;
      break;
    case Spot::ParkedLeft:
      left = all.left - ui::TwipsToPixels(kParkGapTwips, Leftmost(desk).dpi) - width;
      break;
  }
  return {left, top, left + width, top + height};
}

}  // namespace alerts
