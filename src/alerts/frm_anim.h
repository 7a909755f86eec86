#pragma once
// The animation window: borderless, topmost, not in the taskbar, exactly as
// wide as the clip, at the top of the primary monitor while a clip plays and
// parked beyond the left or right edge of every monitor between alerts. It
// is never hidden, and never takes the focus from the user's window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "alerts/animation.h"
#include "alerts/media_player.h"
#include "alerts/placement.h"
#include "base/worker.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace alerts {

class frmAnim final : public ui::Window, public AnimationWindow {
 public:
  static constexpr float kDesignWidthTwips = 4695.0f;
  static constexpr float kDesignHeightTwips = 1035.0f;

  // clip gives the clip's path, asked at every clip; animRight says whether
  // the stored option puts the clip top right; check looks at the clip's
  // file, off the window's thread.
  frmAnim(std::function<std::wstring()> clip, std::function<bool()> animRight,
          std::function<HRESULT(const std::wstring&)> check = CheckIsDiskFile);

  // AnimationWindow
  // Creates the window (running Form_Load) and shows it (Form_Activate).
  bool LoadAndShow() override;
  void Unload() override;
  void SetTopMost() override { Module1::SetTopMost(hwnd()); }
  std::int16_t playAnimTimes() const override { return seq_.playAnimTimes; }
  void set_playAnimTimes(std::int16_t plays) override { seq_.playAnimTimes = plays; }
  void put_LoopCount(long count) override { vid.put_PlayCount(count); }
  // The clip's file is looked at off the window's thread first (a clip on a
  // share that is gone must not freeze Postlark); the clip opens and plays
  // once that look has found a file.
  void PlayRandomClip(std::int32_t left_pos) override;
  void timedShutdownBegin() override;

 private:
  struct Start {
    unsigned serial;
    std::int32_t left_pos;
    std::wstring path;
  };

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Form_Load();
  void Form_Activate();
  void timTic_Timer();
  void vid_EndOfStream();
  void CheckClip();
  void ClipChecked(const Start& start, HRESULT found);
  void OpenAndPlay(std::int32_t left_pos, const std::wstring& path);
  void Place(const RECT& r, std::optional<Side> parked = std::nullopt);
  RECT Rect() const;
  void Park(Side side);

  std::function<std::wstring()> clip_;
  std::function<bool()> animRight_;
  std::function<HRESULT(const std::wstring&)> check_;
  MediaPlayer vid;
  ui::Timer timTic{1000};
  AnimationSequence seq_;
  std::optional<Side> parked_;   // where it waits, between clips
  std::optional<Start> start_;   // the clip asked for, not yet opened
  unsigned serial_ = 0;
  unsigned checked_ = 0;  // the newest clip whose check is under way
  HWND window_ = nullptr;  // for the workers' posts: set once, before any
  // Two at most: a check that hangs on a share that is gone holds up the
  // next clip only until the other worker looks.
  base::Worker clipChecks_[2];
};

}  // namespace alerts
