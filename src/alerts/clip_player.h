#pragma once
// The clip player that fills the clip window: a child window at the top left
// of its parent that plays a media file through DirectShow. What the clip
// window relies on:
//   Prepare, Load, Take
//              open a clip in three steps, so that its file is never read
//              on the window's thread: the graph is made ready there, the
//              file is read into it on any other, and the player takes it,
//              sized to the clip: its natural size plus a 300-twip strip
//              under the picture (a failure leaves no clip loaded)
//   SetPlayCount  how many times Play() plays the clip
//   Play       starts at once and returns while the clip plays on
//   Stop       ends playback
//   EndOfPlay  raised once at the end of every play
// All other calls are made and all events raised on the thread that owns the
// parent.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace alerts {

// S_OK when path names an ordinary file that can be opened for reading:
// folders, devices and pipes could block or be read as something they are
// not, and a device name is never opened at all. It may wait on the file's
// drive.
HRESULT CheckIsDiskFile(const std::wstring& path);

// A clip on its way into the player.
struct ClipLoading;

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

  // On the window's thread: the graph for the clip at path, without its file.
  static std::shared_ptr<ClipLoading> Prepare(const std::wstring& path);
  // On any thread: looks at the file with `check`, then reads it into the
  // graph. It may wait on the file's drive.
  static void Load(ClipLoading& loading,
                   const std::function<HRESULT(const std::wstring&)>& check = CheckIsDiskFile);
  // On the window's thread: the loaded clip becomes the player's; S_OK, or
  // why it cannot play.
  HRESULT Take(const std::shared_ptr<ClipLoading>& loading);
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


}  // namespace alerts
