#include "convert/Mp3Format.h"

#include <algorithm>

#include "convert/ByteOrder.h"

namespace kiv::convert {

TACMWaveFormat Mp3WaveFormat(uint16_t channels, uint32_t rate, uint32_t avgBytesPerSec,
                             const Mp3Extra& extra) {
  TACMWaveFormat format = PcmFormat(channels, rate, 0);
  format.formatTag = kFormatMpegLayer3;
  format.blockAlign = 1;
  format.avgBytesPerSec = avgBytesPerSec;
  format.extraSize = 12;
  PutLE16(&format.extra[0], extra.id);
  PutLE32(&format.extra[2], extra.flags);
  PutLE16(&format.extra[6], extra.blockSize);
  PutLE16(&format.extra[8], extra.framesPerBlock);
  PutLE16(&format.extra[10], extra.codecDelay);
  return format;
}

Mp3Extra Mp3ExtraOf(const TACMWaveFormat& format) {
  Mp3Extra extra;
  extra.id = GetLE16(&format.extra[0]);
  extra.flags = GetLE32(&format.extra[2]);
  extra.blockSize = GetLE16(&format.extra[6]);
  extra.framesPerBlock = GetLE16(&format.extra[8]);
  extra.codecDelay = GetLE16(&format.extra[10]);
  return extra;
}

TACMWaveFormat Mp3TargetFormat(uint16_t channels, uint32_t rate, uint32_t avgBytesPerSec) {
  if (rate == 11025) {
    avgBytesPerSec = channels == 1 ? std::min<uint32_t>(avgBytesPerSec, 2000)
                                   : std::max<uint32_t>(avgBytesPerSec, 3000);
  }
  Mp3Extra extra;
  if (rate > 0) {
    extra.blockSize =
        uint16_t((uint64_t(rate / 44100) + 1) * 72 * 8 * avgBytesPerSec / rate);
  }
  return Mp3WaveFormat(channels, rate, avgBytesPerSec, extra);
}

TACMWaveFormat Mp3SourceFormat(const TMpegFrameHdr& header) {
  Mp3Extra extra;
  if (!header.GetOk()) {
    extra.blockSize = 260;
    return Mp3WaveFormat(1, 11025, 2500, extra);
  }
  const uint16_t channels = header.GetChannelMode() == 3 ? 1 : 2;
  const auto rate = uint32_t(header.GetSamplingRate());
  const auto kbit = uint32_t(header.GetKBitRate());
  extra.blockSize = uint16_t(uint64_t(kbit) * 144000 / rate);
  return Mp3WaveFormat(channels, rate, kbit * 1000 / 8, extra);
}

}  // namespace kiv::convert
