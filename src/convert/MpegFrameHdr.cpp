#include "convert/MpegFrameHdr.h"

#include <algorithm>

namespace kiv::convert {
namespace {

// Kbit/s by [MPEG-1 or not][layer - 1][index]; index 15 is forbidden.
constexpr int kKBitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};

// Hz by [version - 1][index]; index 3 is reserved.
constexpr int kSamplingRates[3][3] = {
    {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

}  // namespace

bool TMpegFrameHdr::Load(const uint8_t* buffer, size_t size) {
  *this = TMpegFrameHdr();
  if (size < 4) return false;
  std::copy(buffer, buffer + 4, bytes_.begin());
  // The version bits: 3 = MPEG-1, 2 = MPEG-2, 0 = MPEG-2.5, 1 reserved.
  static constexpr int kVersions[4] = {3, 0, 2, 1};
  version_ = kVersions[(bytes_[1] >> 3) & 3];
  const int layer = GetLayer();
  const int bitIndex = bytes_[2] >> 4;
  const int rateIndex = (bytes_[2] >> 2) & 3;
  if (version_ != 0 && layer != 0) {
    kbitRate_ = bitIndex == 15 ? -1 : kKBitRates[version_ == 1 ? 0 : 1][layer - 1][bitIndex];
    samplingRate_ = rateIndex == 3 ? -1 : kSamplingRates[version_ - 1][rateIndex];
  }
  if (samplingRate_ > 0) {
    int k = layer == 1 ? 48 : 144;
    if (version_ != 1) k /= 2;
    frameLen_ = int(int64_t(std::max(kbitRate_, 0)) * 1000 * k / samplingRate_) + GetPaddingLen();
  }
  valid_ = GetSync() == 0x7FF && kbitRate_ >= 0 && samplingRate_ > 0;
  return valid_;
}

int64_t TMpegFrameHdr::Locate(const uint8_t* buffer, size_t size) {
  for (size_t i = 0; i + 4 <= size; ++i) {
    if (buffer[i] == 0xFF && (buffer[i + 1] & 0xE0) == 0xE0 && Load(buffer + i, size - i)) {
      return int64_t(i);
    }
  }
  *this = TMpegFrameHdr();  // not the last candidate that failed
  return -1;
}

std::string TMpegFrameHdr::GetVersionStr() const {
  static const char* const kNames[4] = {"reserved", "MPEG-1", "MPEG-2", "MPEG-2.5"};
  return kNames[version_];
}

std::string TMpegFrameHdr::GetLayerStr() const {
  static const char* const kNames[4] = {"reserved", "Layer I", "Layer II", "Layer III"};
  return kNames[GetLayer()];
}

std::string TMpegFrameHdr::GetChannelModeStr() const {
  static const char* const kNames[4] = {"Stereo", "Joint Stereo", "Dual", "Mono"};
  return kNames[GetChannelMode()];
}

std::string TMpegFrameHdr::GetChannelModeExtStr() const {
  if (GetChannelMode() != 1) return {};
  static const char* const kBands[4] = {"Bands 4-31", "Bands 8-31", "Bands 12-31", "Bands 16-31"};
  static const char* const kLayer3[4] = {"Intensity Off, MS Off", "Intensity On, MS Off",
                                         "Intensity Off, MS On", "Intensity On, MS On"};
  return GetLayer() == 3 ? kLayer3[GetChannelModeExt()] : kBands[GetChannelModeExt()];
}

std::string TMpegFrameHdr::GetEmphasisStr() const {
  static const char* const kNames[4] = {"None", "50/15 ms", "Reserved", "CCITT J.17"};
  return kNames[GetEmphasis()];
}

}  // namespace kiv::convert
