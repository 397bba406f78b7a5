// TAudioInfo: what the converter needs to know of an MP3 file before decoding it: where its first
// frame is and what that frame header says, whether a "Xing" header marks it as variable bit
// rate, its ID3v1 tag, and its playing time. The first frame is looked for only within the first
// 10240 bytes, so a file that is not MP3 at all costs a bounded read.
#pragma once

#include <cstdint>
#include <string>

#include "cassette/File.h"
#include "convert/ID3v1Tag.h"
#include "convert/MpegFrameHdr.h"

namespace kiv::convert {

class TAudioInfo {
 public:
  static constexpr uint64_t kSearchLimit = 10240;

  // Clears, then reads the file at `path` (opened read-only, shared) and notes its size, date
  // and attributes. A blank path or a file that cannot be opened leaves the information clear.
  void LoadFromFile(const std::string& path);
  // The `size` bytes from `start` (cut to what the file holds).
  void LoadFromStream(const File& file, uint64_t start, uint64_t size);
  void ClearInfo();

  const TMpegFrameHdr& Header() const { return header_; }
  int64_t FirstFrameOffset() const { return firstFrame_; }  // -1: no frame found
  bool VBR() const { return vbr_; }
  const TID3v1Tag& Tag() const { return tag_; }
  int64_t PlayingTimeMs() const { return playingTimeMs_; }
  int64_t FileSize() const { return fileSize_; }
  int64_t FileDate() const { return fileDate_; }  // seconds since 1970, -1 unknown
  uint32_t FileAttributes() const { return fileAttributes_; }  // the file's mode bits

 private:
  void FindFirstFrame(const File& file, uint64_t start, uint64_t size);
  void ReadXing(const File& file, uint64_t start, uint64_t size);

  TMpegFrameHdr header_;
  int64_t firstFrame_ = -1;
  bool vbr_ = false;
  TID3v1Tag tag_;
  int64_t playingTimeMs_ = 0;
  int64_t fileSize_ = -1;
  int64_t fileDate_ = -1;
  uint32_t fileAttributes_ = 0;
};

}  // namespace kiv::convert
