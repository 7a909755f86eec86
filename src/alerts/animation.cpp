#include "alerts/animation.h"

#include <limits>

namespace alerts {

std::int16_t ParseLoopText(const std::wstring& text) {
  size_t i = 0, end = text.size();
  while (i < end && (text[i] == L' ' || text[i] == L'\t')) ++i;
  while (end > i && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
  // Plain decimal only: digits with an optional sign and fraction.
  bool negative = false;
  if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const auto digit = [&](size_t k) { return k < end && text[k] >= L'0' && text[k] <= L'9'; };
  long whole = 0;
  size_t digits = 0;
  for (; digit(i); ++i, ++digits)
    if (whole <= std::numeric_limits<std::int16_t>::max()) whole = whole * 10 + (text[i] - L'0');
  int first = 0;        // first digit of the fraction
  bool beyond = false;  // any other non-zero digit after it
  if (i < end && text[i] == L'.') {
    ++i;
    for (size_t k = 0; digit(i); ++i, ++k, ++digits) {
      if (k == 0) first = text[i] - L'0';
      else if (text[i] != L'0') beyond = true;
    }
  }
  if (digits == 0 || i != end) return 1;
  // Half to even: 2.5 is 2, 3.5 is 4, 2.51 is 3.
  if (first > 5 || (first == 5 && (beyond || whole % 2 == 1))) ++whole;
  if (negative || whole < 1 || whole > std::numeric_limits<std::int16_t>::max()) return 1;
  return static_cast<std::int16_t>(whole);
}

AnimationPlan PlanAnimation(bool away, const std::wstring& txtLoop) {
  if (away) return {kAwayPlays, kAwayPlays};
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

void StartAnimation(AnimationWindow& anim, bool away, const std::wstring& txtLoop, std::int32_t left_pos) {
  const AnimationPlan plan = PlanAnimation(away, txtLoop);
  anim.set_playAnimTimes(plan.plays);
  anim.put_LoopCount(plan.loopCount);
  anim.PlayRandomClip(left_pos);
}

}  // namespace alerts

namespace Module1 {

void SetTopMost(HWND hwnd, bool topmost) {
  // Never activated by it: the user's window keeps the focus.
  SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace Module1
