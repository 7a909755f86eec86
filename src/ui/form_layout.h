#pragma once
// A window's controls described as a table (kind, caption, twips rectangle,
// tab order, font, colour, tooltip) and brought to life by ControlSet, which
// creates them in tab order, lays them out at the window's DPI, owns their
// fonts and tooltips, draws the rules and colours the labels.
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

namespace ui {

enum class Kind { Label, Line, CheckBox, TextBox, Button };
enum class Align { Left, Center, Right };

struct FontDesign {
  const wchar_t* face;  // null: the platform's default dialog font
  double points;
  bool bold;
};
inline constexpr FontDesign kWindowFont{nullptr, 8.0, false};

inline constexpr COLORREF kDefaultColor = CLR_INVALID;

struct ControlDesign {
  int id;
  Kind kind;
  const wchar_t* caption;
  const wchar_t* tooltip;
  // Left, Top, Width, Height in twips; for a line: x1, y1, x2, y2.
  int a, b, c, d;
  int tabIndex;  // order of creation; lines have none
  FontDesign font;
  COLORREF color = kDefaultColor;
  Align align = Align::Left;
};

class ControlSet {
 public:
  ControlSet(HWND parent, std::span<const ControlDesign> designs);
  ~ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  HWND Get(int id) const;
  // Positions and fonts for a (new) DPI.
  void Layout(UINT dpi);
  void PaintLines(HDC dc) const;
  // WM_CTLCOLORSTATIC: the label's colour on the window's background.
  HBRUSH ColorStatic(HDC dc, HWND control) const;

 private:
  struct Item {
    const ControlDesign* design;
    HWND hwnd;
  };
  HFONT FontFor(const FontDesign& font);

  HWND parent_;
  UINT dpi_ = 96;
  std::vector<Item> items_;
  std::vector<const ControlDesign*> lines_;
  struct FontEntry {
    FontDesign design;
    HFONT font;
  };
  std::vector<FontEntry> fonts_;
  HWND tooltip_ = nullptr;
};

}  // namespace ui
