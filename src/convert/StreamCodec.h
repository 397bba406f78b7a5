// The codecs behind TACMConvertor: each carries one kind of conversion (PCM to PCM, MP3 to PCM,
// PCM to MP3) block by block, keeping whatever running state it needs (a resampler's filter
// history, a half-received MP3 frame) from one block to the next. Results are AcmCode values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "convert/WaveFormat.h"

namespace kiv::convert {

class StreamCodec {
 public:
  virtual ~StreamCodec() = default;
  // At most how many output bytes one block of `inputBytes` gives (the tail that Flush hands
  // out aside). A codec may hand out more on rare blocks; the stream then grows its buffer.
  virtual int OutputSize(size_t inputBytes, size_t* outputBytes) const = 0;
  // Converts one block, appending the output to `out`.
  virtual int Convert(const uint8_t* in, size_t size, std::vector<uint8_t>* out) = 0;
  // Appends what the codec still holds back at the end of the sound.
  virtual int Flush(std::vector<uint8_t>* out) = 0;
};

// The codec that converts `in` to `out`; kAcmNotPossible when none does, kAcmInvalidParam for
// a format that describes no sound at all.
int OpenStreamCodec(const TACMWaveFormat& in, const TACMWaveFormat& out,
                    std::unique_ptr<StreamCodec>* codec);

}  // namespace kiv::convert
