#pragma once
// The main window, which is also the options window: its check boxes and
// text boxes are the live options. It owns every subsystem and says what its
// controls, timers and tray icon mean.
#include <windows.h>

#include <memory>

#include "alerts/frm_anim.h"
#include "app/form1_layout.h"
#include "app/tray.h"
#include "presence/presence.h"
#include "settings/browse.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "ui/control_set.h"
#include "ui/window.h"
#include "watch/check_cycle.h"
#include "watch/marker_file.h"

namespace app {

inline constexpr wchar_t kForm1Class[] = L"PostlarkMain";
// Posted by a second start to the running Postlark: come back into view.
inline constexpr wchar_t kRestoreMessageName[] = L"Postlark.Restore";

class Form1 final : public ui::Window,
                    public Form1Controls,
                    private watch::MailSources,
                    private watch::AlertEffects {
 public:
  explicit Form1(std::unique_ptr<settings::SettingsStore> store);

  // Creates the window and runs its start-up; false when it cannot be made.
  bool Load();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() override;

  void Form_Load();
  void Form_Resize(WPARAM sizeType);
  void Form_Unload();
  void Form_MouseMove(LPARAM lParam);
  void Command1_Click();
  void Command2_Click();
  void mPopRestore_Click();
  void mPopExit_Click();
  void StartWithWindows_Click();
  void cmdBrowseAnimation_Click();
  void cmdBrowseDetect_Click();
  void Restore();
  void ShowTrayMenu();
  void StartAnimation(std::int32_t left_pos) override;

  // MailSources
  bool Quiet() override;
  bool CheckOutlookTray() override;
  bool CheckMarkerFile(const std::wstring& path) override;
  // AlertEffects
  void Beep() override;
  void OpenCdTray() override;
  void FlashFloppyDrive() override;
  std::wstring StoredAnimRight() override;
  void AlertRaised() override;

  std::unique_ptr<settings::SettingsStore> store_;
  settings::Options options_;
  watch::CheckCycle cycle_;
  presence::ActivityProbe activity_;
  presence::PresenceWatch presence_;
  watch::MarkerCheck marker_;
  // Where a relative marker path is looked for, whatever folder the process
  // is in later.
  std::wstring startFolder_;
  settings::CommonDialog CommonDialog1;
  TrayIcon tray_;
  std::unique_ptr<alerts::frmAnim> anim_;
  std::unique_ptr<ui::ControlSet> controls_;
  HICON icon_ = nullptr;
  UINT restoreMessage_ = 0;
  bool unloaded_ = false;
};

}  // namespace app
