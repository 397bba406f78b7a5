// The texts of the panel's time counter: "mm:ss / mm:ss" (length first, then position) while a
// message is selected, the elapsed time alone while recording.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// "01:35 / 00:00" for a 95-second message at its start; minutes of 100 or more in full.
std::string CounterText(uint32_t lengthSeconds, uint32_t positionSeconds);
// "02:07" for a recording running 127 seconds.
std::string RecordingCounterText(uint32_t elapsedSeconds);

}  // namespace kiv
