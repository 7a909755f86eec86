#include "app/form1.h"

#include <windowsx.h>

#include <cmath>
#include <string>
#include <vector>

#include "alerts/drives.h"
#include "app/resource_ids.h"
#include "app/version.h"
#include "base/decimal.h"
#include "base/flag.h"
#include "presence/presenting.h"
#include "settings/autostart.h"
#include "ui/twips.h"
#include "watch/envelope_probe.h"

namespace app {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Outer size for a client area of kForm1Width x kForm1Height twips.
SIZE OuterSize(UINT dpi) {
  RECT r{0, 0, ui::TwipsToPixels(kForm1Width, dpi), ui::TwipsToPixels(kForm1Height, dpi)};
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!adjust || !adjust(&r, kStyle, FALSE, 0, dpi)) AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

Form1::Form1(std::unique_ptr<settings::SettingsStore> store)
    : store_(std::move(store)),
      options_(*store_, Form1Options(*this)),
      cycle_({chkFileDetect, txtFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive}, *this, *this),
      presence_(lblStatus, Label3, activity_,
                [this]() -> alerts::AnimationWindow* { return anim_.get(); }) {
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  cmdBrowseAnimation.Click = [this] { cmdBrowseAnimation_Click(); };
  cmdBrowseDetect.Click = [this] { cmdBrowseDetect_Click(); };
  std::vector<wchar_t> folder(32768);
  const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  if (n && n < folder.size()) startFolder_.assign(folder.data(), n);
}

bool Form1::Load() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const UINT dpi = ui::DpiFor(nullptr);
  icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_POSTLARK), IMAGE_ICON, 32,
                                        32, LR_SHARED));
  RegisterClassOnce(kForm1Class, icon_, GetSysColorBrush(COLOR_BTNFACE));
  const SIZE size = OuterSize(dpi);
  if (!Create(kForm1Class, 0, kStyle, L"Postlark", 0, 0, size.cx, size.cy, nullptr)) return false;
  // The window may have opened on a monitor of another DPI.
  if (const UINT actual = ui::DpiFor(hwnd()); actual != dpi) {
    const SIZE s = OuterSize(actual);
    SetWindowPos(hwnd(), nullptr, 0, 0, s.cx, s.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  controls_ = std::make_unique<ui::ControlSet>(hwnd(), Form1Design(*this), Form1Lines());
  AddTimer(cycle_.timCheckMail);
  AddTimer(cycle_.timFlash);
  AddTimer(cycle_.timFlashDuration);
  AddTimer(presence_.timIdleCheck);
  AddTimer(tray_.timRetry);
  restoreMessage_ = RegisterWindowMessageW(kRestoreMessageName);
  Form_Load();
  return true;
}

void Form1::Form_Load() {
  SetWindowTextW(hwnd(), (ui::WindowText(hwnd()) + L" v" + base::DecimalW(POSTLARK_VERSION_MAJOR) +
                          L"." + base::DecimalW(POSTLARK_VERSION_MINOR))
                             .c_str());
  options_.LoadSettings();
  Module1::gbMailArrived = base::kFalse;
  cycle_.glDurationTick = 0;
  cycle_.timCheckMail.SetEnabled(true);
  cycle_.timFlash.SetEnabled(false);
  cycle_.timFlashDuration.SetEnabled(false);
  presence_.mbIdle = base::kFalse;
  // The icon goes in just before the window shows, not just after: painting
  // twenty controls takes longer than anything else at start-up, and the
  // user sees both appear together either way.
  tray_.Add(hwnd(), icon_);
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetFocus(chkFlashDrive.hwnd());
  if (!anim_) anim_ = std::make_unique<alerts::frmAnim>(txtMovie, [this] { return StoredAnimRight(); });
  anim_->LoadAndShow();
  StartAnimation(static_cast<std::int32_t>(std::lround(ui::ScreenWidthTwips(ui::DpiFor(hwnd())))));
  Module1::SetTopMost(anim_->hwnd());
}

void Form1::Form_Resize(WPARAM sizeType) {
  if (sizeType == SIZE_MINIMIZED) ShowWindow(hwnd(), SW_HIDE);
}

void Form1::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  tray_.Delete();
  if (anim_) anim_->Unload();
}

void Form1::OnDestroyed() { PostQuitMessage(0); }

void Form1::Command1_Click() { ShowWindow(hwnd(), SW_MINIMIZE); }

void Form1::Command2_Click() {
  // At once, as promised: every option was stored when it changed. The icon
  // goes first, or it would stay in the notification area until the pointer
  // passed over it.
  tray_.Delete();
  ExitProcess(0);
}

void Form1::Restore() {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  SetForegroundWindow(hwnd());
  ShowWindow(hwnd(), SW_SHOW);
}

void Form1::mPopRestore_Click() { Restore(); }

void Form1::mPopExit_Click() { DestroyWindow(hwnd()); }

void Form1::Form_MouseMove(LPARAM lParam) {
  if (IsPointerMove(hwnd(), lParam, GetMessagePos())) return;
  switch (DecodeTrayNotification(GET_X_LPARAM(lParam))) {
    case TrayAction::Restore:
      Restore();
      break;
    case TrayAction::Menu:
      ShowTrayMenu();
      break;
    case TrayAction::None:
      break;
  }
}

void Form1::StartWithWindows_Click() {
  // A value for another path (the exe was moved) shows as off; choosing the
  // item then writes it for this exe.
  const std::wstring exe = settings::ThisExe();
  settings::SetStartWithWindows(!settings::StartsWithWindows(exe), exe);
}

void Form1::ShowTrayMenu() {
  tray_.Check(IDM_POP_STARTUP, settings::StartsWithWindows(settings::ThisExe()));
  tray_.Check(IDM_POP_QUIET, quietWhilePresenting.Value() == base::kTicked);
  switch (tray_.ShowMenu()) {
    case IDM_POP_RESTORE:
      mPopRestore_Click();
      break;
    case IDM_POP_STARTUP:
      StartWithWindows_Click();
      break;
    case IDM_POP_QUIET:
      quietWhilePresenting.OnUserClick();  // saved as the check boxes are
      break;
    case IDM_POP_TEST:
      cycle_.TestAlert();
      break;
    case IDM_POP_EXIT:
      mPopExit_Click();
      break;
  }
}

void Form1::cmdBrowseAnimation_Click() {
  settings::BrowseInto(CommonDialog1, hwnd(), txtMovie, settings::kMovieFilter);
}

void Form1::cmdBrowseDetect_Click() {
  settings::BrowseInto(CommonDialog1, hwnd(), txtFileDetect, settings::kDetectFilter);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Esc: the options window goes back to the tray, as OK does.
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) Command1_Click();
      else if (controls_) controls_->Route(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_SIZE:
      Form_Resize(wParam);
      return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove(lParam);
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
    case WM_ENDSESSION:
      if (wParam) Form_Unload();
      return 0;
    case WM_DESTROY:
      Form_Unload();
      return 0;
  }
  if (tray_.OnShellMessage(msg)) return 0;
  if (msg == restoreMessage_ && msg != 0) {
    Restore();
    return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

bool Form1::Quiet() {
  return quietWhilePresenting.Value() == base::kTicked && presence::UserIsPresenting();
}

bool Form1::CheckOutlookTray() { return Module1::CheckOutlookTray(); }

bool Form1::CheckMarkerFile(const std::wstring& path) {
  // The user may be halfway through typing the path: a partial path that
  // happens to name a file must not get that file deleted. A lookup already
  // made is still acted on.
  return marker_.CheckMarkerFile(watch::ResolveMarkerPath(path, startFolder_), !txtFileDetect.HasFocus());
}

void Form1::Beep() { alerts::SystemBeep(); }

void Form1::OpenCdTray() { alerts::OpenCdTray(); }

void Form1::FlashFloppyDrive() { alerts::FlashFloppyDrive(); }

std::wstring Form1::StoredAnimRight() { return options_.Stored(L"AnimRight"); }

void Form1::AlertRaised() { tray_.SetTip(LastMailTip(ShortTimeNow())); }

void Form1::StartAnimation(std::int32_t left_pos) {
  if (anim_)
    alerts::StartAnimation(*anim_, presence_.mbIdle, presence_.mlIdleTicks, txtLoop.Text(), left_pos);
}

}  // namespace app
