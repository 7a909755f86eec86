#pragma once
// Whether the user is presenting: a slideshow, a full-screen game or video in
// front. Postlark stays quiet then, if the user wants it so. A user who is
// away (screen saver, locked, another user's session) is not presenting:
// that is when the alert matters most.
#include <windows.h>

#include <string>

namespace presence {

// The window in front, as the rule sees it.
struct FrontWindow {
  std::wstring className, title;
  bool desktop;     // the desktop window or the shell's own
  bool hasCaption;  // a title bar
  RECT rect;
  RECT monitor;  // the monitor it is on
};

// The rule, from the facts of the desk. shellState is what
// SHQueryUserNotificationState said, or 0 when it could not say: presenting
// for busy, presentation mode or a full-screen Direct3D program, away for
// not present. Otherwise the front window decides: without a title bar and
// covering its whole monitor, unless it is the desktop, the taskbar, the
// screen saver or the lock screen. A maximized window with a title bar is not
// full screen, even where an auto-hidden taskbar lets it cover the monitor.
bool IsPresenting(int shellState, const FrontWindow* front);

// On the desk as it is now.
bool UserIsPresenting();

}  // namespace presence
