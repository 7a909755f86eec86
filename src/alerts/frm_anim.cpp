#include "alerts/frm_anim.h"

#include <memory>

#include "ui/twips.h"

namespace alerts {
namespace {
constexpr wchar_t kClassName[] = L"PostlarkAnimation";
// Posted by the clip's look-up worker.
constexpr UINT kClipChecked = WM_APP + 50;
SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }
}  // namespace

frmAnim::frmAnim(std::function<std::wstring()> clip, std::function<bool()> animRight,
                 std::function<HRESULT(const std::wstring&)> check)
    : clip_(std::move(clip)),
      animRight_(std::move(animRight)),
      check_(std::move(check)),
      clipChecks_{base::Worker([this] { PostMessageW(window_, kClipChecked, 0, 0); }),
                  base::Worker([this] { PostMessageW(window_, kClipChecked, 0, 0); })} {
  vid.EndOfStream = [this](long) { vid_EndOfStream(); };
  timTic.Tick = [this] { timTic_Timer(); };
}

bool frmAnim::LoadAndShow() {
  if (!hwnd()) {
    RegisterClassOnce(kClassName, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const UINT dpi = ui::DpiFor(nullptr);
    // Made beyond every monitor: it is never on screen before its clip opens.
    const RECT away = alerts::Park(CurrentDesk(), Side::Right, {0, 0});
    if (!Create(kClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP | WS_CLIPCHILDREN,
                L"Postlark", away.left, away.top, ui::TwipsToPixels(kDesignWidthTwips, dpi),
                ui::TwipsToPixels(kDesignHeightTwips, dpi), nullptr))
      return false;
    window_ = hwnd();
    vid.Create(hwnd());
    Host(timTic);
    Form_Load();
  }
  // Shown without taking the activation from the user's window.
  ShowWindow(hwnd(), SW_SHOWNA);
  return true;
}

void frmAnim::Unload() {
  start_.reset();
  vid.Stop();
  if (hwnd()) DestroyWindow(hwnd());
}

void frmAnim::Form_Load() {
  Module1::SetTopMost(hwnd());
  seq_.playAnimTimes = 0;
  // Top left is beyond the left edge: out of sight, as at the right.
  Park(animRight_() ? Side::Right : Side::Left);
}

void frmAnim::Form_Activate() { Module1::SetTopMost(hwnd()); }

void frmAnim::PlayRandomClip(std::int32_t left_pos) {
  Module1::SetTopMost(hwnd());
  vid.put_Visible(false);
  start_ = Start{++serial_, left_pos, clip_()};
  CheckClip();
}

void frmAnim::CheckClip() {
  for (base::Worker& worker : clipChecks_) {
    if (worker.Busy()) continue;
    checked_ = start_->serial;
    auto found = std::make_shared<HRESULT>(E_FAIL);
    worker.Post([check = check_, path = start_->path, found] { *found = check(path); },
                [this, start = *start_, found] { ClipChecked(start, *found); });
    return;
  }
  // Both are under way: the first to finish looks at this clip.
}

void frmAnim::ClipChecked(const Start& start, HRESULT found) {
  if (!start_) return;  // hidden or unloaded meanwhile
  if (start_->serial != start.serial) {
    // A newer clip was asked for: checked already, or now.
    if (checked_ != start_->serial) CheckClip();
    return;
  }
  start_.reset();
  if (FAILED(found)) return Park(Side::Right);
  OpenAndPlay(start.left_pos, start.path);
}

void frmAnim::OpenAndPlay(std::int32_t left_pos, const std::wstring& path) {
  const Desk desk = CurrentDesk();
  // Framed at the DPI of the monitor it plays on, wherever it waits now.
  vid.put_Dpi(desk.Primary().dpi);
  // A clip that cannot be opened has no size to take: it is handled like one
  // that cannot start, out of sight beyond the right edge.
  if (FAILED(vid.put_FileName(path))) return Park(Side::Right);
  vid.put_AutoSize(true);
  vid.put_Left(0);
  vid.put_Top(0);
  const float width = vid.Width();
  const float height = vid.Height() - MediaPlayer::kControlStripTwips;
  if (width <= 0 || height <= 0) return Park(Side::Right);
  // Start-up plays the clip out of sight, beyond the right edge of every
  // monitor, at the size it would have on the primary one.
  const bool outOfSight = MeansParkedRight(desk, left_pos);
  const RECT r = PlaceOnScreen(desk, outOfSight ? 0 : left_pos, width, height);
  if (outOfSight)
    Place(alerts::Park(desk, Side::Right, SizeOf(r)), Side::Right);
  else
    Place(r);
  if (FAILED(vid.Play()) || FAILED(vid.put_Visible(true))) Park(Side::Right);
}

void frmAnim::Park(Side side) { Place(alerts::Park(CurrentDesk(), side, SizeOf(Rect())), side); }

void frmAnim::vid_EndOfStream() {
  if (seq_.EndOfPlay()) timTic.SetEnabled(true);
}

void frmAnim::timedShutdownBegin() {
  seq_.timedShutdownBegin();
  timTic.SetEnabled(true);
  start_.reset();  // a clip not yet opened is not opened now
}

void frmAnim::timTic_Timer() {
  if (!seq_.Tick()) return;
  Park(Side::Left);
  vid.Stop();
}

void frmAnim::Place(const RECT& r, std::optional<Side> parked) {
  parked_ = parked;
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
    case WM_DISPLAYCHANGE:
      // A monitor came or went, or the resolution changed: out of sight
      // means beyond the new desk.
      if (parked_) Park(*parked_);
      break;
    case kClipChecked:
      for (base::Worker& worker : clipChecks_) worker.Deliver();
      return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace alerts
