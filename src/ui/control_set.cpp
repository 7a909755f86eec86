#include "ui/control_set.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "ui/twips.h"

namespace ui {
namespace {

DWORD StyleFor(const ControlDesign& design) {
  const DWORD base = WS_CHILD | WS_VISIBLE;
  switch (design.control->kind()) {
    case Kind::Label: {
      const DWORD align = design.align == Align::Center ? SS_CENTER
                          : design.align == Align::Right ? SS_RIGHT
                                                    : SS_LEFT;
      return base | align | SS_NOPREFIX;
    }
    case Kind::CheckBox:
      return base | WS_TABSTOP | BS_CHECKBOX;
    case Kind::TextBox:
      return base | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case Kind::Button:
      return base | WS_TABSTOP | BS_PUSHBUTTON;
  }
  return base;
}

const wchar_t* ClassFor(Kind kind) {
  switch (kind) {
    case Kind::Label: return L"STATIC";
    case Kind::TextBox: return L"EDIT";
    default: return L"BUTTON";
  }
}

}  // namespace

ControlSet::ControlSet(HWND parent, std::vector<ControlDesign> designs,
                       std::span<const LineDesign> lines)
    : parent_(parent), designs_(std::move(designs)), lines_(lines) {
  // Creation order is z-order is keyboard order.
  std::stable_sort(designs_.begin(), designs_.end(),
                   [](const ControlDesign& x, const ControlDesign& y) { return x.tabIndex < y.tabIndex; });

  HINSTANCE instance = GetModuleHandleW(nullptr);
  // Tooltips show their text as written: an "&" is a character, not a mark.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
  // Each control is made where it belongs, with its font: the window is not
  // shown yet, so there is nothing to redraw.
  dpi_ = DpiFor(parent);
  for (const ControlDesign& d : designs_) {
    const Kind kind = d.control->kind();
    const wchar_t* caption = kind == Kind::TextBox ? L"" : d.caption;
    HWND hwnd = CreateWindowExW(0, ClassFor(kind), caption, StyleFor(d), TwipsToPixels(d.rect.left, dpi_),
                                TwipsToPixels(d.rect.top, dpi_), TwipsToPixels(d.rect.width, dpi_),
                                TwipsToPixels(d.rect.height, dpi_), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(d.font, fonts_)), FALSE);
    d.control->Attach(hwnd);
    if (d.tooltip && tooltip_) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.hwnd = parent;
      ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
      ti.lpszText = const_cast<wchar_t*>(d.tooltip);
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
}

bool ControlSet::Route(HWND child, WORD code) const {
  if (!child) return false;
  for (const ControlDesign& d : designs_)
    if (d.control->hwnd() == child) {
      d.control->OnNotify(code);
      return true;
    }
  return false;
}

HFONT ControlSet::FontFor(const FontDesign& font, std::vector<FontEntry>& fonts) const {
  for (const FontEntry& f : fonts)
    if (f.design.face == font.face && f.design.points == font.points && f.design.bold == font.bold)
      return f.font.get();
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi_ / 72.0));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, font.face ? font.face : L"MS Shell Dlg", LF_FACESIZE - 1);
  fonts.push_back({font, Font(CreateFontIndirectW(&lf))});
  return fonts.back().font.get();
}

void ControlSet::Layout(UINT dpi) {
  // The controls take their fonts for the new DPI before the old fonts go:
  // a control must never be left holding a deleted font.
  std::vector<FontEntry> fonts;
  if (dpi == dpi_) fonts = std::move(fonts_);
  dpi_ = dpi;
  for (const ControlDesign& d : designs_) {
    SetWindowPos(d.control->hwnd(), nullptr, TwipsToPixels(d.rect.left, dpi_),
                 TwipsToPixels(d.rect.top, dpi_), TwipsToPixels(d.rect.width, dpi_),
                 TwipsToPixels(d.rect.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(d.control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(d.font, fonts)), TRUE);
  }
  fonts_ = std::move(fonts);  // the old fonts, if any, are deleted here
  InvalidateRect(parent_, nullptr, TRUE);
}

void ControlSet::PaintLines(HDC dc) const {
  const base::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
  const base::Selection selected(dc, pen.get());
  for (const LineDesign& l : lines_) {
    MoveToEx(dc, TwipsToPixels(l.x1, dpi_), TwipsToPixels(l.y1, dpi_), nullptr);
    LineTo(dc, TwipsToPixels(l.x2, dpi_), TwipsToPixels(l.y2, dpi_));
  }
}

HBRUSH ControlSet::ColorStatic(HDC dc, HWND control) const {
  for (const ControlDesign& d : designs_) {
    if (d.control->hwnd() != control) continue;
    if (d.color != kDefaultColor) SetTextColor(dc, d.color);
    break;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace ui
