// The play head's moves; each one ends with the invariant of the header holding.
#include "cassette/PlayHead.h"

#include <algorithm>

namespace kiv {

CounterSeconds PlayHead::Seconds() const {
  const uint32_t rate = std::max<uint32_t>(baseRate_, 1);
  return {Length() / rate, InMessage() / rate};
}

void PlayHead::SetBaseRate(uint32_t rate) {
  baseRate_ = rate;
  rate_ = rate;
}

void PlayHead::SelectMessage(uint32_t start, uint32_t end) {
  start_ = start;
  end_ = std::max(start, end);
  position_ = start_;
  played_ = 0;
}

void PlayHead::SetSegmentPlayed(uint32_t bytes) { played_ = std::min(bytes, end_ - position_); }

void PlayHead::FoldPlayed() {
  position_ += played_;
  played_ = 0;
}

void PlayHead::SeekTo(uint64_t offset) {
  position_ = start_ + uint32_t(std::min<uint64_t>(offset, Length()));
  played_ = 0;
}

void PlayHead::Wind(int64_t bytes) {
  const int64_t target = int64_t(InMessage()) + bytes;
  SeekTo(uint64_t(std::max<int64_t>(target, 0)));
}

}  // namespace kiv
