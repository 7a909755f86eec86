#include "ui/form_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "ui/twips.h"

namespace ui {
namespace {

DWORD StyleFor(const ControlDesign& s) {
  const DWORD base = WS_CHILD | WS_VISIBLE;
  switch (s.kind) {
    case Kind::Label: {
      const DWORD align = s.align == Align::Center ? SS_CENTER
                          : s.align == Align::Right ? SS_RIGHT
                                                    : SS_LEFT;
      return base | align | SS_NOPREFIX;
    }
    case Kind::CheckBox:
      return base | WS_TABSTOP | BS_3STATE;
    case Kind::TextBox:
      return base | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case Kind::Button:
      return base | WS_TABSTOP | BS_PUSHBUTTON;
    case Kind::Line:
      break;
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

ControlSet::ControlSet(HWND parent, std::span<const ControlDesign> designs) : parent_(parent) {
  std::vector<const ControlDesign*> ordered;
  for (const ControlDesign& s : designs) (s.kind == Kind::Line ? lines_ : ordered).push_back(&s);
  // Creation order is z-order is keyboard order.
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](auto* x, auto* y) { return x->tabIndex < y->tabIndex; });

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const ControlDesign* s : ordered) {
    HWND hwnd = CreateWindowExW(0, ClassFor(s->kind), s->caption, StyleFor(*s), 0, 0, 0, 0,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->id)),
                                GetModuleHandleW(nullptr), nullptr);
    items_.push_back({s, hwnd});
    if (s->tooltip && tooltip_) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.hwnd = parent;
      ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
      ti.lpszText = const_cast<wchar_t*>(s->tooltip);
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  Layout(DpiFor(parent));
}

ControlSet::~ControlSet() {
  for (auto& f : fonts_) DeleteObject(f.font);
}

HWND ControlSet::Get(int id) const {
  for (const Item& i : items_)
    if (i.design->id == id) return i.hwnd;
  return nullptr;
}

HFONT ControlSet::FontFor(const FontDesign& font) {
  for (const FontEntry& f : fonts_)
    if (f.design.face == font.face && f.design.points == font.points && f.design.bold == font.bold)
      return f.font;
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi_ / 72.0));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, font.face ? font.face : L"MS Shell Dlg", LF_FACESIZE - 1);
  HFONT created = CreateFontIndirectW(&lf);
  fonts_.push_back({font, created});
  return created;
}

void ControlSet::Layout(UINT dpi) {
  if (dpi != dpi_) {
    for (auto& f : fonts_) DeleteObject(f.font);
    fonts_.clear();
    dpi_ = dpi;
  }
  for (const Item& i : items_) {
    const ControlDesign& s = *i.design;
    SetWindowPos(i.hwnd, nullptr, TwipsToPixels(s.a, dpi_), TwipsToPixels(s.b, dpi_),
                 TwipsToPixels(s.c, dpi_), TwipsToPixels(s.d, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(i.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(s.font)), TRUE);
  }
  InvalidateRect(parent_, nullptr, TRUE);
}

void ControlSet::PaintLines(HDC dc) const {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  for (const ControlDesign* s : lines_) {
    MoveToEx(dc, TwipsToPixels(s->a, dpi_), TwipsToPixels(s->b, dpi_), nullptr);
    LineTo(dc, TwipsToPixels(s->c, dpi_), TwipsToPixels(s->d, dpi_));
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

HBRUSH ControlSet::ColorStatic(HDC dc, HWND control) const {
  for (const Item& i : items_) {
    if (i.hwnd != control) continue;
    if (i.design->color != kDefaultColor) SetTextColor(dc, i.design->color);
    break;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace ui
