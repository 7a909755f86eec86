#pragma once
// Whether the user is presenting: a slideshow, a full-screen game or video in
// front. Postlark stays quiet then, if the user wants it so.
#include <windows.h>

namespace presence {

// The window in front, as the full-screen rule sees it.
struct FrontWindow {
  bool shell;       // the desktop or the taskbar: never full screen
  bool hasCaption;  // a title bar
  RECT rect;
  RECT monitor;     // the monitor it is on
};

// A window without a title bar that covers its whole monitor. A maximized
// window with a title bar is not full screen, even where an auto-hidden
// taskbar lets it cover the monitor: the user is simply working maximized.
bool IsFullScreen(const FrontWindow& front);

// The shell's own word (SHQueryUserNotificationState): busy, presentation
// mode, or a full-screen Direct3D program.
bool ShellSaysPresenting(int notificationState);

// Either, on the desk as it is now: the full-screen rule also works where
// the shell cannot say.
bool UserIsPresenting();

}  // namespace presence
