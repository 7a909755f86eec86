#include "alerts/frm_anim.h"

#include "alerts/placement.h"
#include "ui/twips.h"

namespace alerts {
namespace {
constexpr wchar_t kClassName[] = L"PostlarkAnimation";
SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }
}  // namespace

frmAnim::frmAnim(const ui::TextBox& txtMovie, std::function<std::wstring()> storedAnimRight)
    : txtMovie_(txtMovie), storedAnimRight_(std::move(storedAnimRight)) {
  vid.EndOfStream = [this](long) { vid_EndOfStream(); };
  timTic.Tick = [this] { timTic_Timer(); };
}

bool frmAnim::LoadAndShow() {
  if (!hwnd()) {
    RegisterClassOnce(kClassName, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const UINT dpi = ui::DpiFor(nullptr);
    if (!Create(kClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_CLIPCHILDREN,
                L"Postlark", CW_USEDEFAULT, CW_USEDEFAULT,
                ui::TwipsToPixels(kDesignWidthTwips, dpi), ui::TwipsToPixels(kDesignHeightTwips, dpi),
                nullptr))
      return false;
    vid.Create(hwnd());
    AddTimer(timTic);
    Form_Load();
  }
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

void frmAnim::Unload() {
  vid.Stop();
  if (hwnd()) DestroyWindow(hwnd());
}

void frmAnim::Form_Load() {
  Module1::SetTopMost(hwnd());
  seq_.playAnimTimes = 0;
  if (storedAnimRight_() == L"1") return ParkRight();
  // Left edge of the primary monitor; height and size as designed.
  RECT r = Rect();
  OffsetRect(&r, CurrentDesk().Primary().rect.left - r.left, 0);
  Place(r);
}

void frmAnim::Form_Activate() { Module1::SetTopMost(hwnd()); }

void frmAnim::PlayRandomClip(std::int32_t left_pos) {
  Module1::SetTopMost(hwnd());
  vid.put_Visible(false);
  // A clip that cannot be opened has no size to take: it is handled like one
  // that cannot start, out of sight beyond the right edge.
  if (FAILED(vid.put_FileName(txtMovie_.Text()))) return ParkRight();
  vid.put_AutoSize(true);
  vid.put_Left(0);
  vid.put_Top(0);
  const float width = vid.Width();
  const float height = vid.Height() - MediaPlayer::kControlStripTwips;
  if (width <= 0 || height <= 0) return ParkRight();
  const Desk desk = CurrentDesk();
  // Start-up plays the clip out of sight, beyond the right edge of every
  // monitor, at the size it would have on the primary one.
  const bool outOfSight = MeansParkedRight(desk, left_pos);
  const RECT r = PlaceOnScreen(desk, outOfSight ? 0 : left_pos, width, height);
  Place(outOfSight ? Park(desk, Side::Right, SizeOf(r)) : r);
  if (FAILED(vid.Play()) || FAILED(vid.put_Visible(true))) ParkRight();
}

void frmAnim::ParkRight() { Place(Park(CurrentDesk(), Side::Right, SizeOf(Rect()))); }

void frmAnim::vid_EndOfStream() {
  if (seq_.EndOfPlay()) timTic.SetEnabled(true);
}

void frmAnim::timedShutdownBegin() {
  seq_.timedShutdownBegin();
  timTic.SetEnabled(true);
}

void frmAnim::timTic_Timer() {
  if (!seq_.Tick()) return;
  Place(Park(CurrentDesk(), Side::Left, SizeOf(Rect())));
  vid.Stop();
}

void frmAnim::Place(const RECT& r) {
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT frmAnim::Rect() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r;
}

LRESULT frmAnim::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Form_Activate();
      break;
    case WM_MOUSEACTIVATE:
      // A click on the clip must not take the focus from the user's work.
      return MA_NOACTIVATE;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace alerts
