#include "alerts/animation.h"

#include <cmath>
#include <cwchar>
#include <limits>

std::int16_t ParseLoopText(const std::wstring& text) {
  size_t i = 0, end = text.size();
  while (i < end && (text[i] == L' ' || text[i] == L'\t')) ++i;
  while (end > i && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
  // Plain decimal only: digits with an optional sign and fraction.
  size_t j = i;
  if (j < end && (text[j] == L'+' || text[j] == L'-')) ++j;
  size_t digits = 0;
  for (; j < end && text[j] >= L'0' && text[j] <= L'9'; ++j) ++digits;
  if (j < end && text[j] == L'.')
    for (++j; j < end && text[j] >= L'0' && text[j] <= L'9'; ++j) ++digits;
  if (digits == 0 || j != end || end - i > 40) return 1;
  const double value = std::wcstod(std::wstring(text, i, end - i).c_str(), nullptr);
  const double rounded = std::nearbyint(value);  // the default mode: half to even
  if (rounded < 1 || rounded > std::numeric_limits<std::int16_t>::max()) return 1;
  return static_cast<std::int16_t>(rounded);
}

AnimationPlan PlanAnimation(VbBool mbIdle, std::int32_t mlIdleTicks, const std::wstring& txtLoop) {
  if (mbIdle != vbFalse && mlIdleTicks > kAwayIdleTicks) return {kAwayPlays, kAwayPlays};
  const std::int16_t plays = ParseLoopText(txtLoop);
  return {plays, plays};
}

bool AnimationSequence::EndOfPlay() {
  if (playAnimTimes > std::numeric_limits<std::int16_t>::min()) --playAnimTimes;
  if (playAnimTimes > 0) return false;
  timedShutdownBegin();
  return true;
}

void AnimationSequence::timedShutdownBegin() {
  miTicks_ = 0;
  timerEnabled_ = true;
}

bool AnimationSequence::Tick() {
  if (miTicks_ < std::numeric_limits<std::int16_t>::max()) ++miTicks_;
  return miTicks_ == 2;
}

void StartAnimation(AnimationWindow& anim, VbBool mbIdle, std::int32_t mlIdleTicks,
                    const std::wstring& txtLoop, std::int32_t left_pos) {
  const AnimationPlan plan = PlanAnimation(mbIdle, mlIdleTicks, txtLoop);
  anim.set_playAnimTimes(plan.plays);
  anim.put_LoopCount(plan.loopCount);
  anim.PlayRandomClip(left_pos);
}

namespace Module1 {

void SetTopMost(HWND hwnd, bool topmost) {
  SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace Module1
