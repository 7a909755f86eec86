#pragma once
// The clip player that fills the clip window: a child window at the top left
// of its parent that plays a media file through DirectShow. What the clip
// window relies on:
//   Open       opens the clip and sizes the player to it: its natural size
//              plus a 300-twip strip under the picture (a failure leaves no
//              clip loaded and is returned)
//   SetPlayCount  how many times Play() plays the clip
//   Play       starts at once and returns while the clip plays on
//   Stop       ends playback
//   EndOfPlay  raised once at the end of every play
// All calls are made and all events raised on the thread that owns the parent.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace alerts {

class ClipPlayer {
 public:
  static constexpr float kControlStripTwips = 300.0f;

  ClipPlayer();
  ~ClipPlayer();
  ClipPlayer(const ClipPlayer&) = delete;
  ClipPlayer& operator=(const ClipPlayer&) = delete;

  // Creates the player's window inside parent, hidden, at (0, 0).
  bool Create(HWND parent);
  HWND hwnd() const;

  HRESULT Open(const std::wstring& path);
  void SetPlayCount(long count);
  HRESULT Play();
  HRESULT Stop();

  // The DPI twips are taken at: that of the monitor the clip plays on. 0:
  // the parent's.
  void SetDpi(UINT dpi);
  // The player's size in twips, strip included.
  float Width() const;
  float Height() const;
  HRESULT Show(bool visible);

  std::function<void(long result)> EndOfPlay;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// S_OK when path names an ordinary file that can be opened for reading:
// folders, devices and pipes could block or be read as something they are
// not. It may wait on the file's drive.
HRESULT CheckIsDiskFile(const std::wstring& path);

}  // namespace alerts
