#pragma once
// How many times a clip plays and when the animation window hides again:
// the counting is kept apart from the window so it can be driven directly.
#include <windows.h>

#include <cstdint>
#include <string>


namespace alerts {

// The loop box's text as a play count: a whole number from 1 to 32767, a
// fraction rounded half to even. Anything else (empty, not a number, out of
// range, 0 or less) plays the clip once.
std::int16_t ParseLoopText(const std::wstring& text);

struct AnimationPlan {
  std::int16_t plays;  // playAnimTimes
  long loopCount;      // the player's own loop count
};

// While the user is away the clip loops (9000 plays) until they come back;
// otherwise it plays the loop box's count.
inline constexpr std::int16_t kAwayPlays = 9000;
AnimationPlan PlanAnimation(bool away, const std::wstring& txtLoop);

// Plays still to come and the two-tick hide sequence after the last one.
class AnimationSequence {
 public:
  std::int16_t playAnimTimes = 0;

  // A play ended; true when that was the last and the hide sequence starts.
  bool EndOfPlay();
  void timedShutdownBegin();
  // One tick of the hide timer; true on the tick that parks and stops.
  bool Tick();
  bool TimerEnabled() const { return timerEnabled_; }

 private:
  std::int16_t miTicks_ = 0;
  bool timerEnabled_ = false;
};

// What the rest of Postlark may do with the animation window.
class AnimationWindow {
 public:
  virtual ~AnimationWindow() = default;
  // Creates the window if need be (parked out of sight) and shows it.
  virtual bool LoadAndShow() = 0;
  virtual void Unload() = 0;
  virtual void SetTopMost() = 0;
  virtual std::int16_t playAnimTimes() const = 0;
  virtual void set_playAnimTimes(std::int16_t plays) = 0;
  virtual void put_LoopCount(long count) = 0;
  virtual void PlayRandomClip(std::int32_t left_pos) = 0;
  virtual void timedShutdownBegin() = 0;
};

// Starts the clip: -1 top right, any other value is the window's left edge
// in twips.
void StartAnimation(AnimationWindow& anim, bool away, const std::wstring& txtLoop, std::int32_t left_pos);

}  // namespace alerts

namespace Module1 {
// Above all non-topmost windows, without moving, sizing or activating it.
void SetTopMost(HWND hwnd, bool topmost = true);
}  // namespace Module1
