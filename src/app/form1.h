#pragma once
// The main window, which is also the options window: its check boxes and
// text boxes are the live options. It owns every subsystem and wires their
// events and timers.
#include <windows.h>

#include <memory>
#include <optional>

#include "alerts/frm_anim.h"
#include "presence/presence.h"
#include "settings/browse.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "ui/controls.h"
#include "ui/form_layout.h"
#include "ui/timer.h"
#include "ui/vb_types.h"
#include "ui/window.h"
#include "watch/check_cycle.h"
#include "watch/marker_file.h"

inline constexpr wchar_t kForm1Class[] = L"PostlarkMain";
// Posted by a second start to the running Postlark: come back into view.
inline constexpr wchar_t kRestoreMessageName[] = L"Postlark.Restore";

class Form1 final : public ui::Window, private MailSources, private AlertEffects {
 public:
  explicit Form1(std::unique_ptr<SettingsStore> store);
  ~Form1() override;

  // Creates the window and runs its start-up; false when it cannot be made.
  bool Load();

  // Option controls: the options themselves.
  ui::CheckBox chkFlashDrive{0}, chkEject{0}, chkBeep{1}, chkAnim{0}, chkAnimRight{1},
      chkFileDetect{0};
  ui::TextBox txtMovie{L"c:\\movie1.avi"}, txtLoop{L"1"}, txtFileDetect{};
  ui::Label lblStatus, Label3;

  ui::Timer timCheckMail{1000}, timFlash{5000}, timFlashDuration{1000};
  ui::Timer timIdleCheck{1000, true};

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() override;

  void Form_Load();
  void Form_Resize(WPARAM sizeType);
  void Form_Unload();
  void Form_MouseMove(WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  void Command1_Click();
  void Command2_Click();
  void mPopRestore_Click();
  void mPopExit_Click();
  void cmdBrowseAnimation_Click();
  void cmdBrowseDetect_Click();
  void Restore();
  void ShowTrayMenu();
  void AddTrayIcon();
  void StartAnimation(std::int32_t left_pos) override;
  void CreateControls();

  // MailSources
  void CheckOutlookTray() override;
  bool CheckMarkerFile(const std::wstring& path) override;
  // AlertEffects
  void Beep() override;
  void OpenCdTray() override;
  void FlashFloppyDrive() override;
  std::wstring StoredAnimRight() override;

  std::unique_ptr<SettingsStore> store_;
  Options options_;
  CheckCycle cycle_;
  ActivityProbe activity_;
  PresenceWatch presence_;
  MarkerWatch marker_;
  CommonDialog CommonDialog1;
  std::unique_ptr<frmAnim> anim_;
  std::unique_ptr<ui::ControlSet> controls_;
  HICON icon_ = nullptr;
  HMENU mPopupSys = nullptr;
  UINT taskbarCreated_ = 0;
  UINT restoreMessage_ = 0;
  bool unloaded_ = false;

 public:
  // The alert's tick count, public as the other windows see it.
  std::int16_t glDurationTick() const { return cycle_.glDurationTick; }
};
