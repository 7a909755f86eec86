#pragma once
// The clip window: borderless, topmost, not in the taskbar, exactly as wide
// as the clip, at the top of the primary monitor while a clip plays and
// parked beyond the left or right edge of every monitor between alerts. It
// is never hidden, and never takes the focus from the user's window.
#include <windows.h>

#include <functional>
#include <string>

#include "alerts/clip.h"
#include "alerts/clip_player.h"
#include "alerts/placement.h"
#include "base/background.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace alerts {

class ClipWindow final : public ui::Window, public ClipView {
 public:
  static constexpr float kDesignWidthTwips = 4695.0f;
  static constexpr float kDesignHeightTwips = 1035.0f;

  // check: looks at the clip's file, off the window's thread, before it is
  // read.
  explicit ClipWindow(std::function<HRESULT(const std::wstring&)> check = CheckIsDiskFile);

  bool Show(bool parkRight) override;
  void Close() override;
  // The clip's file is looked at and read off the window's thread (a clip on
  // a share that is gone must not freeze Postlark); the clip plays once it
  // has been read. A clip that cannot play leaves the window parked right.
  void Play(const std::wstring& path, ClipPlace place, int plays) override;
  void CancelPlays() override;

 private:

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void KeepOnTop();
  void OpenAndPlay(const std::shared_ptr<ClipLoading>& loading, ClipPlace place);
  void EndOfPlay();
  void BeginHide();
  void HideTick();
  // At that spot on the desk as it is now, at the clip's size.
  void MoveTo(Spot spot);

  std::function<HRESULT(const std::wstring&)> check_;
  ClipPlayer player_;
  ui::Timer hideTimer_{1000};
  ClipPlays plays_;
  Spot spot_ = Spot::ParkedRight;
  float widthTwips_ = kDesignWidthTwips, heightTwips_ = kDesignHeightTwips;
  HWND window_ = nullptr;  // for the look-ups' wake: set once, before any
  base::Lookups checks_;
};

}  // namespace alerts
