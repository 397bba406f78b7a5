// Counter texts.
#include "transport/CounterText.h"

#include "cassette/MessageName.h"

namespace kiv {

std::string RecordingCounterText(uint32_t elapsedSeconds) {
  return TwoDigits(elapsedSeconds / 60) + ":" + TwoDigits(elapsedSeconds % 60);
}

std::string CounterText(uint32_t lengthSeconds, uint32_t positionSeconds) {
  return RecordingCounterText(lengthSeconds) + " / " + RecordingCounterText(positionSeconds);
}

}  // namespace kiv
