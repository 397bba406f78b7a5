// The wave format records that describe MP3 sound to the conversion stream: MPEG layer 3 with
// its 12 bytes of extra data (identifier, flags, block size, frames per block, codec delay), as
// the converter builds them for an MP3 target and for an MP3 source.
#pragma once

#include <cstdint>

#include "convert/MpegFrameHdr.h"
#include "convert/WaveFormat.h"

namespace kiv::convert {

struct Mp3Extra {
  uint16_t id = 1;        // MPEG layer 3
  uint32_t flags = 2;     // padding off
  uint16_t blockSize = 0;
  uint16_t framesPerBlock = 1;
  uint16_t codecDelay = 1393;
};

// MPEG layer 3, block align 1, 0 bits, with the extra data.
TACMWaveFormat Mp3WaveFormat(uint16_t channels, uint32_t rate, uint32_t avgBytesPerSec,
                             const Mp3Extra& extra);
Mp3Extra Mp3ExtraOf(const TACMWaveFormat& format);

// The MP3 target the converter builds itself: block size ((rate / 44100) + 1) x 72 x 8 x
// average bytes per second / rate; at 11025 Hz a mono target is held to 2000 average bytes per
// second and a stereo one raised to at least 3000, the rates the codec takes there.
TACMWaveFormat Mp3TargetFormat(uint16_t channels, uint32_t rate, uint32_t avgBytesPerSec);

// An MP3 source as its first frame header describes it: mono or two channels (dual channel
// counts as two, which is what the frames carry), the header's own sampling rate (a 32000 Hz
// file stays 32000 Hz; the stream converts the rate), the bit rate as average bytes per second
// and block size = kbit/s x 144000 / rate. Without a valid header: mono, 11025 Hz, 2500 average
// bytes per second, block size 260.
TACMWaveFormat Mp3SourceFormat(const TMpegFrameHdr& header);

}  // namespace kiv::convert
