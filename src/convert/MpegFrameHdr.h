// TMpegFrameHdr: one MPEG audio frame header (the 4 bytes in front of every frame), decoded into
// version, layer, bit rate, sampling rate and frame length, and the search for the first valid
// header in a buffer. Plain value type; it keeps a copy of the 4 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv::convert {

class TMpegFrameHdr {
 public:
  // Needs at least 4 bytes; decodes them and returns whether they make a valid header: sync
  // bits set, version, layer, bit-rate index and sampling-rate index all not reserved.
  bool Load(const uint8_t* buffer, size_t size);
  // Offset of the first position, from 0 to size - 4, where a 0xFF byte is followed by a byte
  // with its top three bits set and Load succeeds there (this header then holds it); -1 if none
  // (this header is then cleared).
  int64_t Locate(const uint8_t* buffer, size_t size);

  bool GetOk() const { return valid_; }
  uint32_t GetSync() const { return uint32_t(bytes_[0]) << 3 | bytes_[1] >> 5; }
  int GetVersion() const { return version_; }  // 1 = MPEG-1, 2 = MPEG-2, 3 = MPEG-2.5, 0 reserved
  std::string GetVersionStr() const;
  int GetLayer() const { return (4 - ((bytes_[1] >> 1) & 3)) & 3; }  // 1 to 3, 0 reserved
  std::string GetLayerStr() const;
  bool GetCRCExists() const { return (bytes_[1] & 1) == 0; }
  int GetKBitRate() const { return kbitRate_; }  // 0 free format, -1 invalid
  int GetBitRate() const { return kbitRate_ * 1000; }
  int GetSamplingRate() const { return samplingRate_; }  // Hz, -1 invalid
  bool GetPadding() const { return (bytes_[2] >> 1) & 1; }
  int GetPaddingLen() const { return GetPadding() ? (GetLayer() == 1 ? 4 : 1) : 0; }
  int GetChannelMode() const { return bytes_[3] >> 6; }  // 0 stereo ... 3 mono
  std::string GetChannelModeStr() const;
  int GetChannelModeExt() const { return (bytes_[3] >> 4) & 3; }
  std::string GetChannelModeExtStr() const;
  bool GetCopyright() const { return (bytes_[3] >> 3) & 1; }
  bool GetOriginal() const { return (bytes_[3] >> 2) & 1; }
  int GetEmphasis() const { return bytes_[3] & 3; }
  std::string GetEmphasisStr() const;
  int GetFrameLen() const { return frameLen_; }

 private:
  std::array<uint8_t, 4> bytes_{};
  bool valid_ = false;
  int version_ = 0;
  int kbitRate_ = -1;
  int samplingRate_ = -1;
  int frameLen_ = 0;
};

}  // namespace kiv::convert
