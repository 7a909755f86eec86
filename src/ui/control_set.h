#pragma once
// A window's controls described as a table, each row naming its control
// object, its id, caption, twips rectangle, tab order, font, colour and
// tooltip. ControlSet brings the table to life: it creates the windows in
// tab order, binds each to its object and routes the object's notifications,
// lays them out at the window's DPI, owns their fonts and tooltips, draws the
// rules and colours the labels.
#include <windows.h>

#include <span>
#include <vector>

#include "base/scoped.h"
#include "ui/controls.h"

namespace ui {

enum class Align { Left, Center, Right };

struct FontDesign {
  const wchar_t* face;  // null: the platform's default dialog font
  double points;
  bool bold;
};
inline constexpr FontDesign kWindowFont{nullptr, 8.0, false};

inline constexpr COLORREF kDefaultColor = CLR_INVALID;

struct TwipsRect {
  int left, top, width, height;
};

struct ControlDesign {
  int id;
  Control* control;
  const wchar_t* caption;  // labels, check boxes and buttons; a text box shows its own text
  const wchar_t* tooltip;
  TwipsRect rect;
  int tabIndex;  // order of creation
  FontDesign font;
  COLORREF color = kDefaultColor;
  Align align = Align::Left;
};

// A rule drawn on the window, from one point to another, in twips.
struct LineDesign {
  int x1, y1, x2, y2;
};

class ControlSet {
 public:
  ControlSet(HWND parent, std::vector<ControlDesign> designs, std::span<const LineDesign> lines);
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // WM_COMMAND from a child: true when it was one of ours.
  bool Route(HWND child, WORD code) const;
  // Positions and fonts for a (new) DPI.
  void Layout(UINT dpi);
  void PaintLines(HDC dc) const;
  // WM_CTLCOLORSTATIC: the label's colour on the window's background.
  HBRUSH ColorStatic(HDC dc, HWND control) const;

 private:
  using Font = base::GdiObject<HFONT>;
  struct FontEntry {
    FontDesign design;
    Font font;
  };
  HFONT FontFor(const FontDesign& font, std::vector<FontEntry>& fonts) const;

  HWND parent_;
  UINT dpi_ = 0;
  std::vector<ControlDesign> designs_;  // in tab order
  std::span<const LineDesign> lines_;
  std::vector<FontEntry> fonts_;
  HWND tooltip_ = nullptr;  // owned by parent: destroyed with it
};

}  // namespace ui
