#pragma once
// A way of hearing mail: Outlook's envelope, the marker file, Windows'
// notifications, and whatever comes next. The check cycle asks each source
// once a second; a source looks without ever holding up the window, and
// reports a find, at once or later, through Found.
#include <windows.h>

#include <functional>
#include <string>

namespace watch {

// Why a source the user turned on does not hear.
enum class Deafness {
  None,
  Refused,       // Windows keeps notifications from programs
  Missing,       // this Windows has no notification list for programs
  NotAnswering,  // a call into the platform has not answered, since `since`
  Unreachable,   // the marker's folder cannot be reached
};

struct SourceState {
  bool on = true;
  Deafness deaf = Deafness::None;
  ULONGLONG since = 0;  // on the application's clock (milliseconds)
  bool Hearing() const { return on && deaf == Deafness::None; }
};

class MailSource {
 public:
  virtual ~MailSource() = default;
  // What the tray calls it: where the last mail came from.
  virtual const wchar_t* Name() const = 0;
  // The user has it on.
  virtual bool On() const = 0;
  // A watching tick with the source on: look now, never waiting.
  virtual void Look() = 0;
  // A watching tick with the source off.
  virtual void Rest() {}
  virtual SourceState State() const { return {On()}; }
  // Looking takes the mail away (the envelope, the marker): while alerts
  // are held, such a source is not looked at, so its mail stays.
  virtual bool Takes() const { return true; }
  // Where the last mail it found came from, for the tip.
  virtual std::wstring MailFrom() const { return Name(); }

  // Mail found, on the window's thread; the cycle sets it.
  std::function<void()> Found;
};

}  // namespace watch
