#pragma once
// Whether the user is presenting: a slideshow, a full-screen game or video in
// front. Postlark stays quiet then, if the user wants it so. A user who is
// away (screen saver, locked, another user's session) is not presenting:
// that is when the alert matters most.
#include <windows.h>

namespace presence {

// The window in front, as the full-screen rule sees it.
struct FrontWindow {
  bool shell;       // the desktop or the taskbar: never full screen
  bool away;        // the screen saver or the lock screen
  bool hasCaption;  // a title bar
  RECT rect;
  RECT monitor;     // the monitor it is on
};

// A window without a title bar that covers its whole monitor. A maximized
// window with a title bar is not full screen, even where an auto-hidden
// taskbar lets it cover the monitor: the user is simply working maximized.
bool IsFullScreen(const FrontWindow& front);

// The screen saver's and the lock screen's windows, by class and title.
bool IsAwayScreen(const wchar_t* className, const wchar_t* title);

// The shell's own word (SHQueryUserNotificationState): presenting for busy,
// presentation mode or a full-screen Direct3D program; away for not present.
bool ShellSaysPresenting(int notificationState);
bool ShellSaysAway(int notificationState);

// On the desk as it is now: the shell's word, then the full-screen rule,
// which also works where the shell cannot say.
bool UserIsPresenting();

}  // namespace presence
