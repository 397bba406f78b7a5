// MP3 in the conversion stream: decoding with libmpg123, encoding with LAME. Each passes through
// a PcmConverter on the PCM side, so an MP3 is decoded at the rate and channel count its frames
// really carry and converted from there to whatever PCM format was asked for (a 32000 Hz file
// stays 32000 Hz until the resampler makes it the cassette's rate), and the encoder takes any
// PCM this program handles.
#pragma once

#include <memory>

#include "convert/StreamCodec.h"

namespace kiv::convert {

// MPEG layer 3 (format tag 0x55) to PCM. The MP3 bytes may be cut into blocks anywhere.
int CreateMp3Decoder(const TACMWaveFormat& in, const TACMWaveFormat& out,
                     std::unique_ptr<StreamCodec>* codec);

// PCM to MPEG layer 3 at the output format's rate and channels, at a constant bit rate taken
// from its average bytes per second. No tag and no "Info" frame are written: the caller adds
// the ID3v1 tag.
int CreateMp3Encoder(const TACMWaveFormat& in, const TACMWaveFormat& out,
                     std::unique_ptr<StreamCodec>* codec);

}  // namespace kiv::convert
