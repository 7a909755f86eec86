#pragma once
// The clip alert: a video clip played a number of times in a borderless
// topmost window at a top corner of the primary monitor, which then hides
// again. The counting is kept apart from the window so it can be driven
// directly.
#include <cstdint>
#include <functional>
#include <string>

#include "alerts/alert_effect.h"

namespace alerts {

// Where a clip plays: in a top corner, or out of sight beyond the right edge
// of every monitor (the start-up clip).
enum class ClipPlace { TopRight, TopLeft, OutOfSight };

// While the user is away the clip loops until they come back.
inline constexpr int kAwayPlays = 9000;

// Plays still to come, and the two-tick hide after the last one.
class ClipPlays {
 public:
  void Start(int plays) { left_ = static_cast<std::int16_t>(plays); }
  int Left() const { return left_; }
  // A play ended; true when that was the last and the hide begins.
  bool EndOfPlay();
  // The user came back: no plays left; true when the hide begins.
  bool Cancel();
  void BeginHide() { hideTicks_ = 0; }
  // One tick of the hide timer; true on the tick that parks and stops.
  bool Tick();

 private:
  std::int16_t left_ = 0;
  std::int16_t hideTicks_ = 0;
};

// The window the clip plays in, as the rest of Postlark sees it.
class ClipView {
 public:
  virtual ~ClipView() = default;
  // Creates the window if need be and shows it, out of sight beyond the
  // right edge of every monitor, or the left.
  virtual bool Show(bool parkRight) = 0;
  virtual void Close() = 0;
  // The clip at path, `plays` times, once its file has been looked at.
  virtual void Play(const std::wstring& path, ClipPlace place, int plays) = 0;
  // Plays left are cancelled, and the window hides.
  virtual void CancelPlays() = 0;
};

struct ClipOptions {
  const bool& on;
  const bool& topRight;
  const int& plays;
};

class ClipEffect final : public AlertEffect {
 public:
  // path: the clip's path now; away: the user is away from the machine.
  ClipEffect(ClipView& view, ClipOptions options, std::function<std::wstring()> path, std::function<bool()> away)
      : view_(view), options_(options), path_(std::move(path)), away_(std::move(away)) {}

  bool On() const override { return options_.on; }
  void Raise() override {
    view_.Play(path_(), options_.topRight ? ClipPlace::TopRight : ClipPlace::TopLeft,
               away_() ? kAwayPlays : options_.plays);
  }
  // The user came back: a clip looping for them stops.
  void UserReturned() { view_.CancelPlays(); }

 private:
  ClipView& view_;
  ClipOptions options_;
  std::function<std::wstring()> path_;
  std::function<bool()> away_;
};

}  // namespace alerts
