#include "alerts/clip_window.h"

#include <memory>

namespace alerts {
namespace {
constexpr wchar_t kClassName[] = L"PostlarkAnimation";
// Posted when a look at a clip's file has answered.
constexpr UINT kClipChecked = WM_APP + 50;
}  // namespace

ClipWindow::ClipWindow(std::function<HRESULT(const std::wstring&)> check)
    : check_(std::move(check)), checks_([this] { return PostMessageW(window_, kClipChecked, 0, 0) != FALSE; }) {
  player_.EndOfPlay = [this](long) { EndOfPlay(); };
  hideTimer_.Tick = [this] { HideTick(); };
}

bool ClipWindow::Show(bool parkRight) {
  if (!hwnd()) {
    RegisterClassOnce(kClassName, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Made beyond every monitor: it is never on screen before its clip opens.
    const RECT away = PlaceClip(CurrentDesk(), Spot::ParkedRight, widthTwips_, heightTwips_);
    if (!Create(kClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP | WS_CLIPCHILDREN,
                L"Postlark", away.left, away.top, away.right - away.left, away.bottom - away.top, nullptr))
      return false;
    window_ = hwnd();
    player_.Create(hwnd());
    Host(hideTimer_);
    KeepOnTop();
    // Top left is beyond the left edge: out of sight, as at the right.
    MoveTo(parkRight ? Spot::ParkedRight : Spot::ParkedLeft);
  }
  // Shown without taking the activation from the user's window.
  ShowWindow(hwnd(), SW_SHOWNA);
  return true;
}

void ClipWindow::Close() {
  checks_.Forget();
  player_.Stop();
  if (hwnd()) DestroyWindow(hwnd());
}

// Never activated by it: the user's window keeps the focus.
void ClipWindow::KeepOnTop() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ClipWindow::Play(const std::wstring& path, ClipPlace place, int plays) {
  KeepOnTop();
  // A hide still to come belongs to the clip before: it must not park this one.
  hideTimer_.SetEnabled(false);
  player_.Show(false);
  plays_.Start(plays);
  player_.SetPlayCount(plays);
  const std::shared_ptr<ClipLoading> loading = ClipPlayer::Prepare(path);
  const bool started = checks_.Ask(
      [check = check_, loading] { ClipPlayer::Load(*loading, check); },
      [this, loading, place](bool newest) {
        if (newest) OpenAndPlay(loading, place);  // else a newer clip was asked for, or none
      });
  if (!started) MoveTo(Spot::ParkedRight);  // no thread to look with: no clip this time
}

void ClipWindow::OpenAndPlay(const std::shared_ptr<ClipLoading>& loading, ClipPlace place) {
  // Framed at the DPI of the monitor it plays on, wherever it waits now.
  player_.SetDpi(CurrentDesk().Primary().dpi);
  // A clip that cannot be opened has no size to take: it is handled like one
  // that cannot start, out of sight beyond the right edge.
  if (FAILED(player_.Take(loading))) return MoveTo(Spot::ParkedRight);
  const float width = player_.Width();
  const float height = player_.Height() - ClipPlayer::kControlStripTwips;
  if (width <= 0 || height <= 0) return MoveTo(Spot::ParkedRight);
  widthTwips_ = width;
  heightTwips_ = height;
  MoveTo(place == ClipPlace::TopRight  ? Spot::TopRight
         : place == ClipPlace::TopLeft ? Spot::TopLeft
                                       : Spot::ParkedRight);
  if (FAILED(player_.Play()) || FAILED(player_.Show(true))) MoveTo(Spot::ParkedRight);
}

void ClipWindow::EndOfPlay() {
  if (plays_.EndOfPlay()) BeginHide();
}

void ClipWindow::CancelPlays() {
  if (!plays_.Cancel()) return;
  BeginHide();
  checks_.Forget();  // a clip not yet opened is not opened now
}

// Two ticks from now, whatever was counting before.
void ClipWindow::BeginHide() {
  hideTimer_.SetEnabled(false);
  hideTimer_.SetEnabled(true);
}

void ClipWindow::HideTick() {
  if (!plays_.Tick()) return;
  hideTimer_.SetEnabled(false);
  MoveTo(Spot::ParkedLeft);
  player_.Stop();
}

void ClipWindow::MoveTo(Spot spot) {
  spot_ = spot;
  const RECT r = PlaceClip(CurrentDesk(), spot, widthTwips_, heightTwips_);
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ClipWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) KeepOnTop();
      break;
    case WM_MOUSEACTIVATE:
      // A click on the clip must not take the focus from the user's work.
      return MA_NOACTIVATE;
    case WM_DISPLAYCHANGE:
      // A monitor came or went, or the resolution changed: the clip keeps
      // its spot on the desk as it is now.
      MoveTo(spot_);
      break;
    case kClipChecked:
      checks_.Deliver();
      return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace alerts
