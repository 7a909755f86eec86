#pragma once
// The animation window: borderless, topmost, not in the taskbar, exactly as
// wide as the clip, at the top of the primary monitor while a clip plays and
// parked beyond the left or right edge of every monitor between alerts. It
// is never hidden.
#include <windows.h>

#include <functional>
#include <string>

#include "alerts/animation.h"
#include "alerts/media_player.h"
#include "ui/controls.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace alerts {

class frmAnim final : public ui::Window, public AnimationWindow {
 public:
  static constexpr float kDesignWidthTwips = 4695.0f;
  static constexpr float kDesignHeightTwips = 1035.0f;

  // txtMovie is read at every clip; storedAnimRight reads the stored option.
  frmAnim(const ui::TextBox& txtMovie, std::function<std::wstring()> storedAnimRight);

  // Creates the window (running Form_Load) and shows it (Form_Activate).
  bool LoadAndShow();
  void Unload();

  // AnimationWindow
  std::int16_t playAnimTimes() const override { return seq_.playAnimTimes; }
  void set_playAnimTimes(std::int16_t plays) override { seq_.playAnimTimes = plays; }
  void put_LoopCount(long count) override { vid.put_PlayCount(count); }
  void PlayRandomClip(std::int32_t left_pos) override;
  void timedShutdownBegin() override;

  MediaPlayer vid;
  ui::Timer timTic{1000};

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Form_Load();
  void Form_Activate();
  void timTic_Timer();
  void vid_EndOfStream();
  void Place(const RECT& r);
  RECT Rect() const;
  void ParkRight();

  const ui::TextBox& txtMovie_;
  std::function<std::wstring()> storedAnimRight_;
  AnimationSequence seq_;
};

}  // namespace alerts
