#include "app/form1.h"
#include "ui/decimal.h"

#include <windowsx.h>

#include <cmath>
#include <string>

#include "alerts/drives.h"
#include "app/form1_layout.h"
#include "app/resource_ids.h"
#include "app/tray.h"
#include "app/version.h"
#include "ui/twips.h"
#include "watch/envelope_probe.h"

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

Form1::Form1(std::unique_ptr<SettingsStore> store)
    : store_(std::move(store)),
      options_({chkFlashDrive, chkEject, chkBeep, chkAnim, chkAnimRight, txtMovie, txtLoop,
                chkFileDetect, txtFileDetect},
               *store_),
      cycle_({chkFileDetect, txtFileDetect, chkBeep, chkEject, chkAnim, chkFlashDrive,
              timCheckMail, timFlash, timFlashDuration},
             *this, *this),
      presence_(lblStatus, Label3, activity_, [this]() -> AnimationWindow* { return anim_.get(); }) {
  options_.ConnectSaveHandlers();
  timCheckMail.Tick = [this] { cycle_.timCheckMail_Timer(); };
  timFlash.Tick = [this] { cycle_.timFlash_Timer(); };
  timFlashDuration.Tick = [this] { cycle_.timFlashDuration_Timer(); };
  timIdleCheck.Tick = [this] { presence_.timIdleCheck_Timer(); };
}

Form1::~Form1() {
  if (mPopupSys) DestroyMenu(mPopupSys);
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
  CreateControls();
  AddTimer(timCheckMail);
  AddTimer(timFlash);
  AddTimer(timFlashDuration);
  AddTimer(timIdleCheck);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  restoreMessage_ = RegisterWindowMessageW(kRestoreMessageName);
  Form_Load();
  return true;
}

void Form1::CreateControls() {
  controls_ = std::make_unique<ui::ControlSet>(hwnd(), Form1Controls());
  chkFlashDrive.Attach(controls_->Get(idChkFlashDrive));
  chkEject.Attach(controls_->Get(idChkEject));
  chkBeep.Attach(controls_->Get(idChkBeep));
  chkAnim.Attach(controls_->Get(idChkAnim));
  chkAnimRight.Attach(controls_->Get(idChkAnimRight));
  chkFileDetect.Attach(controls_->Get(idChkFileDetect));
  txtMovie.Attach(controls_->Get(idTxtMovie));
  txtLoop.Attach(controls_->Get(idTxtLoop));
  txtFileDetect.Attach(controls_->Get(idTxtFileDetect));
  lblStatus.Attach(controls_->Get(idLblStatus));
  Label3.Attach(controls_->Get(idLabel3));

  mPopupSys = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_SYSTRAY));
}

void Form1::Form_Load() {
  SetWindowTextW(hwnd(), (ui::WindowText(hwnd()) + L" v" + ui::DecimalW(POSTLARK_VERSION_MAJOR) +
                          L"." + ui::DecimalW(POSTLARK_VERSION_MINOR))
                             .c_str());
  options_.LoadSettings();
  Module1::gbMailArrived = vbFalse;
  cycle_.glDurationTick = 0;
  timCheckMail.SetEnabled(true);
  timFlash.SetEnabled(false);
  timFlashDuration.SetEnabled(false);
  presence_.mbIdle = vbFalse;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetFocus(controls_->Get(idChkFlashDrive));
  AddTrayIcon();
  if (!anim_) anim_ = std::make_unique<frmAnim>(txtMovie, [this] { return StoredAnimRight(); });
  anim_->LoadAndShow();
  StartAnimation(static_cast<std::int32_t>(std::lround(ui::ScreenWidthTwips(ui::DpiFor(hwnd())))));
  Module1::SetTopMost(anim_->hwnd());
}

void Form1::AddTrayIcon() {
  FillTrayIconData(Module1::TrayIconData, hwnd(), icon_);
  NotifyIcon(NIM_ADD, Module1::TrayIconData);
}

void Form1::Form_Resize(WPARAM sizeType) {
  if (sizeType == SIZE_MINIMIZED) ShowWindow(hwnd(), SW_HIDE);
}

void Form1::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  NotifyIcon(NIM_DELETE, Module1::TrayIconData);
  if (anim_) anim_->Unload();
}

void Form1::OnDestroyed() { PostQuitMessage(0); }

void Form1::Command1_Click() { ShowWindow(hwnd(), SW_MINIMIZE); }

void Form1::Command2_Click() {
  // At once, as promised: every option was stored when it changed.
  ExitProcess(0);
}

void Form1::Restore() {
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  SetForegroundWindow(hwnd());
  ShowWindow(hwnd(), SW_SHOW);
}

void Form1::mPopRestore_Click() { Restore(); }

void Form1::mPopExit_Click() { DestroyWindow(hwnd()); }

void Form1::Form_MouseMove(WPARAM, LPARAM lParam) {
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

void Form1::ShowTrayMenu() {
  // The window must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(hwnd());
  POINT pt;
  GetCursorPos(&pt);
  const UINT chosen = TrackPopupMenu(GetSubMenu(mPopupSys, 0), TPM_RETURNCMD, pt.x, pt.y, 0,
                                     hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  if (chosen == IDM_POP_RESTORE) mPopRestore_Click();
  if (chosen == IDM_POP_EXIT) mPopExit_Click();
}

void Form1::cmdBrowseAnimation_Click() {
  BrowseInto(CommonDialog1, hwnd(), txtMovie, kMovieFilter);
}

void Form1::cmdBrowseDetect_Click() {
  BrowseInto(CommonDialog1, hwnd(), txtFileDetect, kDetectFilter);
}

void Form1::OnCommand(int id, int code, HWND) {
  switch (id) {
    case idChkFlashDrive: if (code == BN_CLICKED) chkFlashDrive.OnUserClick(); break;
    case idChkEject: if (code == BN_CLICKED) chkEject.OnUserClick(); break;
    case idChkBeep: if (code == BN_CLICKED) chkBeep.OnUserClick(); break;
    case idChkAnim: if (code == BN_CLICKED) chkAnim.OnUserClick(); break;
    case idChkAnimRight: if (code == BN_CLICKED) chkAnimRight.OnUserClick(); break;
    case idChkFileDetect: if (code == BN_CLICKED) chkFileDetect.OnUserClick(); break;
    case idTxtMovie:
      if (code == EN_CHANGE) txtMovie.OnEditChange();
      if (code == EN_KILLFOCUS) txtMovie.OnKillFocus();
      break;
    case idTxtLoop:
      if (code == EN_CHANGE) txtLoop.OnEditChange();
      if (code == EN_KILLFOCUS) txtLoop.OnKillFocus();
      break;
    case idTxtFileDetect:
      if (code == EN_CHANGE) txtFileDetect.OnEditChange();
      if (code == EN_KILLFOCUS) txtFileDetect.OnKillFocus();
      break;
    case idCmdBrowseAnimation: if (code == BN_CLICKED) cmdBrowseAnimation_Click(); break;
    case idCmdBrowseDetect: if (code == BN_CLICKED) cmdBrowseDetect_Click(); break;
    case idCommand1:
    case IDCANCEL:  // Esc: the options window goes back to the tray
      if (code == BN_CLICKED) Command1_Click();
      break;
    case idCommand2: if (code == BN_CLICKED) Command2_Click(); break;
  }
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SIZE:
      Form_Resize(wParam);
      return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove(wParam, lParam);
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
  if (msg == taskbarCreated_ && msg != 0) {
    // The shell restarted and forgot every icon: without ours a hidden
    // Postlark could not be reached.
    NotifyIcon(NIM_ADD, Module1::TrayIconData);
    return 0;
  }
  if (msg == restoreMessage_ && msg != 0) {
    Restore();
    return 0;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

void Form1::CheckOutlookTray() { Module1::CheckOutlookTray(); }

bool Form1::CheckMarkerFile(const std::wstring& path) {
  // The user may be halfway through typing the path: a partial path that
  // happens to name a file must not get that file deleted.
  if (txtFileDetect.HasFocus()) return false;
  return marker_.CheckMarkerFile(path);
}

void Form1::Beep() { ::Beep(300, 150); }

void Form1::OpenCdTray() { ::OpenCdTray(); }

void Form1::FlashFloppyDrive() { ::FlashFloppyDrive(); }

std::wstring Form1::StoredAnimRight() { return options_.StoredAnimRight(); }

void Form1::StartAnimation(std::int32_t left_pos) {
  if (anim_)
    ::StartAnimation(*anim_, presence_.mbIdle, presence_.mlIdleTicks, txtLoop.Text(), left_pos);
}
