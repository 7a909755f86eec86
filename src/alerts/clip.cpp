#include "alerts/clip.h"

#include <limits>

namespace alerts {

bool ClipPlays::EndOfPlay() {
  if (left_ > std::numeric_limits<std::int16_t>::min()) --left_;
  if (left_ > 0) return false;
  BeginHide();
  return true;
}

bool ClipPlays::Cancel() {
  if (left_ <= 0) return false;
  left_ = 0;
  BeginHide();
  return true;
}

bool ClipPlays::Tick() {
  if (hideTicks_ < std::numeric_limits<std::int16_t>::max()) ++hideTicks_;
  return hideTicks_ == 2;
}

}  // namespace alerts
