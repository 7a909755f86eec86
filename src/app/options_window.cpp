#include "app/options_window.h"

#include <utility>

#include "app/resource_ids.h"
#include "app/version.h"
#include "base/decimal.h"
#include "base/system_dll.h"
#include "ui/twips.h"

namespace app {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Posted when a path box has lost the focus; wParam: its binding.
constexpr UINT kFocusLeft = WM_APP + 40;

// Outer size for a client area of kOptionsWidth x kOptionsHeight twips.
SIZE OuterSize(UINT dpi) {
  RECT r{0, 0, ui::TwipsToPixels(kOptionsWidth, dpi), ui::TwipsToPixels(kOptionsHeight, dpi)};
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = base::SystemProc<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&r, kStyle, FALSE, 0, dpi)) AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

OptionsWindow::OptionsWindow(settings::OptionBook& book)
    : book_(book), bindings_(OptionsBindings(*this)), leftForOtherProgram_(bindings_.size()) {
  hideButton.Click = [this] { ShowWindow(hwnd(), SW_MINIMIZE); };
  exitButton.Click = [this] {
    if (ExitNow) ExitNow();
  };
  browseClipButton.Click = [this] { Browse(clipPathBox, settings::kMovieFilter); };
  browseMarkerButton.Click = [this] { Browse(markerPathBox, settings::kDetectFilter); };
  Bind();
}

OptionsWindow::~OptionsWindow() { book_.Changed = nullptr; }

bool OptionsWindow::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const UINT dpi = ui::DpiFor(nullptr);
  HICON icon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_POSTLARK), IMAGE_ICON, 32, 32, LR_SHARED));
  RegisterClassOnce(kOptionsWindowClass, icon, GetSysColorBrush(COLOR_BTNFACE));
  const SIZE size = OuterSize(dpi);
  if (!Window::Create(kOptionsWindowClass, 0, kStyle, L"Postlark", 0, 0, size.cx, size.cy, nullptr)) return false;
  // The window may have opened on a monitor of another DPI.
  if (const UINT actual = ui::DpiFor(hwnd()); actual != dpi) {
    const SIZE s = OuterSize(actual);
    SetWindowPos(hwnd(), nullptr, 0, 0, s.cx, s.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  controls_ = std::make_unique<ui::ControlSet>(hwnd(), OptionsDesign(*this), OptionsLines());
  SetWindowTextW(hwnd(), (ui::WindowText(hwnd()) + L" v" + base::DecimalW(POSTLARK_VERSION_MAJOR) + L"." +
                          base::DecimalW(POSTLARK_VERSION_MINOR))
                             .c_str());
  return true;
}

// Each control edits its option; the record changes with it, before anything
// reads the option again. A path box saves only when it loses the focus.
void OptionsWindow::Bind() {
  for (size_t i = 0; i < bindings_.size(); ++i) {
    const Binding& b = bindings_[i];
    if (const auto* flag = std::get_if<settings::Flag>(&b.field)) {
      auto& box = static_cast<ui::CheckBox&>(*b.control);
      box.Click = [this, &box, f = *flag] { book_.Set(f, box.Ticked()); };
    } else {
      auto& box = static_cast<ui::TextBox&>(*b.control);
      if (const auto* count = std::get_if<settings::Count>(&b.field))
        box.Change = [this, &box, f = *count] { book_.Set(f, box.Text()); };
      else
        box.Change = [this, &box, f = std::get<settings::Text>(b.field)] { book_.Set(f, box.Text()); };
      // Where the focus went is known once it has arrived there.
      if (settings::RowOf(b.field).saveOn == settings::SaveOn::LostFocus)
        box.LostFocus = [this, i] { PostMessageW(hwnd(), kFocusLeft, i, 0); };
    }
    ShowField(b.field);
  }
  book_.Changed = [this](settings::Field field) { ShowField(field); };
}

void OptionsWindow::ShowField(settings::Field field) {
  for (const Binding& b : bindings_) {
    if (b.field != field) continue;
    if (const auto* flag = std::get_if<settings::Flag>(&field))
      static_cast<ui::CheckBox*>(b.control)->SetTicked(book_.Get().*(*flag));
    else
      static_cast<ui::TextBox*>(b.control)->SetText(book_.Shown(field));
  }
}

void OptionsWindow::FocusLeft(size_t binding) {
  if (binding >= bindings_.size()) return;
  HWND focus = GetFocus();
  const bool inWindow = focus && (focus == hwnd() || IsChild(hwnd(), focus));
  const bool going = !IsWindowVisible(hwnd()) || IsIconic(hwnd());
  leftForOtherProgram_[binding] = !inWindow && !going;
  if (!leftForOtherProgram_[binding]) book_.Save(bindings_[binding].field);
}

void OptionsWindow::SaveEdits() {
  for (size_t i = 0; i < bindings_.size(); ++i) {
    if (settings::RowOf(bindings_[i].field).saveOn != settings::SaveOn::LostFocus) continue;
    if (static_cast<ui::TextBox*>(bindings_[i].control)->HasFocus() || leftForOtherProgram_[i]) {
      leftForOtherProgram_[i] = false;
      book_.Save(bindings_[i].field);
    }
  }
}

bool OptionsWindow::Editing(settings::Text field) const {
  for (size_t i = 0; i < bindings_.size(); ++i)
    if (bindings_[i].field == settings::Field(field))
      return leftForOtherProgram_[i] || static_cast<const ui::TextBox*>(bindings_[i].control)->HasFocus();
  return false;
}

// As a dialog does: the focus comes back to the control that had it.
void OptionsWindow::OnActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
  } else if (!HIWORD(state) && lastFocus_ && IsWindow(lastFocus_)) {
    SetFocus(lastFocus_);
  }
}

void OptionsWindow::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetFocus(flashDriveBox.hwnd());
}

void OptionsWindow::Restore() {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  SetForegroundWindow(hwnd());
  ShowWindow(hwnd(), SW_SHOW);
}

void OptionsWindow::Close() {
  // Destroying the window takes the focus from the box before WM_DESTROY:
  // too late to tell a path being typed from one left behind.
  SaveEdits();
  DestroyWindow(hwnd());
}

void OptionsWindow::ShowStatus(const std::wstring& statusText, const std::wstring& idleText) {
  status.SetText(statusText);
  idle.SetText(idleText);
}

// Minimised by any means: hidden, to the notification area.
void OptionsWindow::OnResized(WPARAM sizeType) {
  if (sizeType != SIZE_MINIMIZED) return;
  SaveEdits();
  ShowWindow(hwnd(), SW_HIDE);
}

// A chosen path goes into the box only; the box stores it when it next loses
// the focus.
void OptionsWindow::Browse(ui::TextBox& box, const wchar_t* filter) {
  openDialog_.FileName = box.Text();
  openDialog_.Filter = filter;
  if (openDialog_.ShowOpen(hwnd())) box.SetText(openDialog_.FileName);
}

LRESULT OptionsWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Esc: the options window goes back to the tray, as OK does.
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) ShowWindow(hwnd(), SW_MINIMIZE);
      else if (controls_) controls_->Route(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      OnResized(wParam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      if (controls_) controls_->PaintLines(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (controls_)
        return reinterpret_cast<LRESULT>(
            controls_->ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      const SIZE s = OuterSize(HIWORD(wParam));
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, s.cx, s.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (controls_) controls_->Layout(HIWORD(wParam));
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(wParam);
      if (LOWORD(wParam) != WA_INACTIVE && lastFocus_) return 0;
      break;
    case kFocusLeft:
      FocusLeft(wParam);
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ENDSESSION:
      if (wParam) SaveEdits();
      return 0;
    case WM_DESTROY:
      SaveEdits();
      if (!std::exchange(closed_, true) && Closed) Closed();
      return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace app
