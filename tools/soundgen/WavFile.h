// The smallest WAV file the recorder's sounds need: one channel of 16-bit PCM.
//
//   "RIFF"  size of the rest (36 + data bytes)  "WAVE"
//   "fmt "  16  format tag 1 (PCM), channels 1, sample rate, bytes per second (rate * 2),
//               block align 2, bits per sample 16
//   "data"  data bytes  samples, little-endian signed 16-bit
//
// All numbers are little-endian. The reader is there to check what the writer wrote: it walks
// the chunks, so it also takes files with further chunks, but only this one format.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace soundgen {

struct MonoSound {
  uint32_t rate = 0;
  std::vector<int16_t> samples;
};

std::vector<uint8_t> WavFileBytes(const MonoSound& sound);

// The sound in `bytes`, or nothing when they are not a 16-bit mono PCM WAV file.
std::optional<MonoSound> ReadWavFile(const std::vector<uint8_t>& bytes);

}  // namespace soundgen
