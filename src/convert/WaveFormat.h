// TACMWaveFormat: the one description of a sample format shared by the conversion stream, the
// WAV files and the converter. It is the standard wave format header (18 bytes) followed by room
// for 111 bytes of format-specific extra data; it is always moved whole, all 129 bytes, so a
// format read from one file and written to another keeps whatever extra data it carried.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kiv::convert {

// Format tags this program meets.
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatMsAdpcm = 2;
constexpr uint16_t kFormatIeeeFloat = 3;
constexpr uint16_t kFormatALaw = 6;
constexpr uint16_t kFormatMuLaw = 7;
constexpr uint16_t kFormatImaAdpcm = 0x11;
constexpr uint16_t kFormatGsm610 = 0x31;
constexpr uint16_t kFormatMpegLayer3 = 0x55;

struct TACMWaveFormat {
  static constexpr size_t kHeaderSize = 18;  // through the extra size field
  static constexpr size_t kRecordSize = 129;
  static constexpr size_t kMaxExtra = kRecordSize - kHeaderSize;

  uint16_t formatTag = kFormatPcm;
  uint16_t channels = 1;
  uint32_t samplesPerSec = 22050;
  uint32_t avgBytesPerSec = 22050;
  uint16_t blockAlign = 1;
  uint16_t bitsPerSample = 8;
  uint16_t extraSize = 0;  // never above kMaxExtra
  std::array<uint8_t, kMaxExtra> extra{};

  // The record as it lies in a file or a form file: little-endian, kRecordSize bytes.
  std::array<uint8_t, kRecordSize> Encode() const;
  // Reads up to kRecordSize bytes of a record; fields beyond `size` keep their defaults. An
  // extra size above kMaxExtra is cut to it.
  static TACMWaveFormat Decode(const uint8_t* bytes, size_t size);

  bool IsPcm() const { return formatTag == kFormatPcm; }
  bool operator==(const TACMWaveFormat&) const = default;
};

// Linear PCM with the derived fields filled in: block align = channels x bits / 8, average
// bytes per second = rate x block align.
TACMWaveFormat PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits);

}  // namespace kiv::convert
