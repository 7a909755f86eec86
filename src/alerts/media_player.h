#pragma once
// The clip player that fills the animation window: a child window that plays
// a media file through DirectShow. Its members are the ones the animation
// window relies on:
//   FileName   opens the clip (a failure leaves no clip loaded and is returned)
//   PlayCount  how many times Play() plays the clip
//   AutoSize   size the control to the clip: its natural size plus a 300-twip
//              strip under the picture
//   Play       starts at once and returns while the clip plays on
//   Stop       ends playback
//   EndOfStream   raised once at the end of every play
//   Left/Top/Width/Height (twips) and Visible: placement in the parent.
// All calls are made and all events raised on the thread that owns the parent.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace alerts {

class MediaPlayer {
 public:
  static constexpr float kControlStripTwips = 300.0f;

  MediaPlayer();
  ~MediaPlayer();
  MediaPlayer(const MediaPlayer&) = delete;
  MediaPlayer& operator=(const MediaPlayer&) = delete;

  // Creates the control's window inside parent, hidden, at (0, 0).
  bool Create(HWND parent);
  HWND hwnd() const;

  HRESULT put_FileName(const std::wstring& path);
  HRESULT put_PlayCount(long count);
  HRESULT put_AutoSize(bool autoSize);
  HRESULT Play();
  HRESULT Stop();

  // The DPI twips are taken at: that of the monitor the clip plays on. 0:
  // the parent's.
  void put_Dpi(UINT dpi);
  // Placement in twips.
  void put_Left(float twips);
  void put_Top(float twips);
  float Width() const;
  float Height() const;
  HRESULT put_Visible(bool visible);

  std::function<void(long result)> EndOfStream;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// S_OK when path names an ordinary file that can be opened for reading:
// folders, devices and pipes could block or be read as something they are
// not. It may wait on the file's drive.
HRESULT CheckIsDiskFile(const std::wstring& path);

}  // namespace alerts
