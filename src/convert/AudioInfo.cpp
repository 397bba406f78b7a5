#include "convert/AudioInfo.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "convert/ByteOrder.h"

namespace kiv::convert {

void TAudioInfo::ClearInfo() {
  header_ = TMpegFrameHdr();
  firstFrame_ = -1;
  vbr_ = false;
  tag_.Clear();
  playingTimeMs_ = 0;
  fileSize_ = -1;
  fileDate_ = -1;
  fileAttributes_ = 0;
}

void TAudioInfo::LoadFromFile(const std::string& path) {
  ClearInfo();
  if (path.find_first_not_of(" \t") == std::string::npos) return;
  std::unique_ptr<File> file;
  if (!FileSystem::Default().Open(path, File::Mode::ReadOnly, &file).ok()) return;
  LoadFromStream(*file, 0, file->Length());
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    fileSize_ = int64_t(info.st_size);
    fileDate_ = int64_t(info.st_mtime);
    fileAttributes_ = uint32_t(info.st_mode);
  }
}

void TAudioInfo::LoadFromStream(const File& file, uint64_t start, uint64_t size) {
  // What the bytes tell is found again; what the file system told stays.
  header_ = TMpegFrameHdr();
  firstFrame_ = -1;
  vbr_ = false;
  tag_.Clear();
  playingTimeMs_ = 0;
  const uint64_t length = file.Length();
  size = start < length ? std::min(size, length - start) : 0;
  FindFirstFrame(file, start, size);
  if (firstFrame_ >= 0) ReadXing(file, start, size);

  // The tag lies after the first frame; without one, anywhere in the bytes.
  const uint64_t tagFrom = firstFrame_ < 0 ? 0 : uint64_t(firstFrame_) + header_.GetFrameLen();
  if (tagFrom < size) tag_.LoadFromStream(file, start + tagFrom, size - tagFrom);

  if (vbr_) return;
  if (firstFrame_ < 0 || header_.GetKBitRate() <= 0) return;
  uint64_t audioBytes = size - uint64_t(firstFrame_);
  if (tag_.Present()) audioBytes -= std::min<uint64_t>(audioBytes, TID3v1Tag::kSize);
  playingTimeMs_ = int64_t(audioBytes * 8 / uint64_t(header_.GetBitRate())) * 1000;
}

// Windows of 128 bytes, each behind the last 4 bytes of the one before, so a header split
// between two windows is still seen.
void TAudioInfo::FindFirstFrame(const File& file, uint64_t start, uint64_t size) {
  constexpr size_t kWindow = 128, kCarry = 4;
  uint8_t buffer[kCarry + kWindow];
  size_t carried = 0;
  for (uint64_t pos = 0; pos < size && pos < kSearchLimit; pos += kWindow) {
    const auto n = size_t(std::min<uint64_t>(kWindow, size - pos));
    if (!file.ReadAt(start + pos, buffer + carried, n)) break;
    const int64_t at = header_.Locate(buffer, carried + n);
    if (at >= 0) {
      firstFrame_ = int64_t(pos) - int64_t(carried) + at;
      return;
    }
    const size_t kept = std::min(kCarry, carried + n);
    std::memmove(buffer, buffer + carried + n - kept, kept);
    carried = kept;
  }
  header_ = TMpegFrameHdr();  // a read that failed midway leaves no header either
}

void TAudioInfo::ReadXing(const File& file, uint64_t start, uint64_t size) {
  const bool mono = header_.GetChannelMode() == 3;
  const uint64_t side = header_.GetVersion() == 1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
  const uint64_t at = uint64_t(firstFrame_) + side;
  uint8_t xing[12];
  if (at + 12 > size || !file.ReadAt(start + at, xing, 12) || std::memcmp(xing, "Xing", 4) != 0) {
    return;
  }
  vbr_ = true;
  const int rate = header_.GetSamplingRate();
  if ((GetBE32(xing + 4) & 1) != 0 && rate > 0) {
    // Every version's frames are counted as 1152 samples here.
    playingTimeMs_ = int64_t(std::llround(1152.0 / rate * GetBE32(xing + 8))) * 1000;
  }
}

}  // namespace kiv::convert
