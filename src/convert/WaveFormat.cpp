#include "convert/WaveFormat.h"

#include <algorithm>
#include <cstring>

#include "convert/ByteOrder.h"

namespace kiv::convert {

std::array<uint8_t, TACMWaveFormat::kRecordSize> TACMWaveFormat::Encode() const {
  std::array<uint8_t, kRecordSize> out{};
  PutLE16(&out[0], formatTag);
  PutLE16(&out[2], channels);
  PutLE32(&out[4], samplesPerSec);
  PutLE32(&out[8], avgBytesPerSec);
  PutLE16(&out[12], blockAlign);
  PutLE16(&out[14], bitsPerSample);
  PutLE16(&out[16], extraSize);
  std::memcpy(&out[kHeaderSize], extra.data(), kMaxExtra);
  return out;
}

TACMWaveFormat TACMWaveFormat::Decode(const uint8_t* bytes, size_t size) {
  std::array<uint8_t, kRecordSize> in = TACMWaveFormat().Encode();
  std::memcpy(in.data(), bytes, std::min(size, kRecordSize));
  TACMWaveFormat format;
  format.formatTag = GetLE16(&in[0]);
  format.channels = GetLE16(&in[2]);
  format.samplesPerSec = GetLE32(&in[4]);
  format.avgBytesPerSec = GetLE32(&in[8]);
  format.blockAlign = GetLE16(&in[12]);
  format.bitsPerSample = GetLE16(&in[14]);
  format.extraSize = std::min<uint16_t>(GetLE16(&in[16]), kMaxExtra);
  std::memcpy(format.extra.data(), &in[kHeaderSize], kMaxExtra);
  return format;
}

TACMWaveFormat PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  TACMWaveFormat format;
  format.formatTag = kFormatPcm;
  format.channels = channels;
  format.samplesPerSec = rate;
  format.bitsPerSample = bits;
  format.blockAlign = uint16_t(channels * bits / 8);
  format.avgBytesPerSec = rate * format.blockAlign;
  return format;
}

}  // namespace kiv::convert
