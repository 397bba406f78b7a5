// Fuzzes the MP3 inspection: the frame header search, the audio info over the whole input
// (first frame within the search limit, "Xing" header, tag, playing time), and a decode of the
// first bytes through the conversion stream. Any property broken below is a bug; it traps so
// libFuzzer keeps the input.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzRequire.h"
#include "convert/ACMConvertor.h"
#include "convert/AudioInfo.h"
#include "convert/MemoryFile.h"
#include "convert/Mp3Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kiv::convert;
  TMpegFrameHdr header;
  const int64_t at = header.Locate(data, size);
  if (at >= 0) {
    Require(uint64_t(at) + 4 <= size && data[at] == 0xFF && header.GetOk());
    Require(header.GetSamplingRate() > 0 && header.GetKBitRate() >= 0 && header.GetFrameLen() >= 0);
    Require(header.GetLayer() >= 1 && header.GetVersion() >= 1);
  }

  MemoryFile file(std::vector<uint8_t>(data, data + size));
  TAudioInfo info;
  info.LoadFromStream(file, 0, size);
  Require(info.FirstFrameOffset() < int64_t(TAudioInfo::kSearchLimit));
  Require(info.FirstFrameOffset() < 0 || info.Header().GetOk());
  Require(info.PlayingTimeMs() >= 0 && info.PlayingTimeMs() % 1000 == 0);
  if (at >= 0 && uint64_t(at) + 4 <= TAudioInfo::kSearchLimit) Require(info.FirstFrameOffset() == at);

  TACMConvertor acm;
  // Declared as the import declares a file whose first frame it could not find.
  if (!acm.SetFormatIn(Mp3SourceFormat(TMpegFrameHdr())).ok() || !acm.SetFormatOut(PcmFormat(1, 11025, 8)).ok()) return 0;
  const auto block = uint32_t(std::min<size_t>(size, 4096));
  if (block == 0 || !acm.SetInputBufferSize(block).ok()) return 0;
  acm.SetActive(true);
  Require(acm.Active());
  std::memcpy(acm.InputBuffer(), data, block);
  (void)acm.Convert();
  if (acm.Active()) (void)acm.Flush();
  return 0;
}
