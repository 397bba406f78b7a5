// The 0...65535 volume scale of the mixer's callers against an element's own raw range. A value
// that goes out and comes back lands on the nearest raw step, so a round trip loses at most one
// step of the element.
#pragma once

#include <algorithm>

namespace kiv {

inline constexpr int kMixerFullScale = 65535;

inline int ScaledVolume(long raw, long min, long max) {
  if (max <= min) return 0;
  const long long span = max - min;
  const long long offset = std::clamp<long long>(raw - min, 0, span);
  return int((offset * kMixerFullScale + span / 2) / span);
}

inline long RawVolume(int scaled, long min, long max) {
  if (max <= min) return min;
  const long long span = max - min;
  const long long value = std::clamp(scaled, 0, kMixerFullScale);
  return long(min + (value * span + kMixerFullScale / 2) / kMixerFullScale);
}

}  // namespace kiv
