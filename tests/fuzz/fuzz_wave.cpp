// Fuzzes the WAV reader: the RIFF header checks, then every frame through the PCM reader, which
// for compressed formats hands the bytes to the decoder library. Any property broken below is a
// bug; it traps so libFuzzer keeps the input.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzRequire.h"
#include "convert/PCMWaveReader.h"
#include "convert/WaveStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kiv::convert;
  std::unique_ptr<TWaveStream> stream;
  if (!TMemoryWaveStream::Open(std::vector<uint8_t>(data, data + size), &stream).ok()) {
    Require(stream == nullptr);
    return 0;
  }
  const TACMWaveFormat& format = stream->Format();
  Require(format.blockAlign > 0 && format.extraSize <= TACMWaveFormat::kMaxExtra);
  Require(!stream->Seek(-1, SeekOrigin::Beginning).ok() && stream->Position() == 0);

  std::unique_ptr<TPCMWaveReader> reader;
  if (!TPCMWaveReader::Open(stream.get(), &reader).ok()) return 0;
  const TACMWaveFormat& pcm = reader->Format();
  Require(pcm.IsPcm() && pcm.blockAlign > 0);
  // Read from a few places, never more than a bounded amount in all.
  std::vector<uint8_t> buffer(size_t(1024) * pcm.blockAlign);
  for (int64_t at : {int64_t(0), int64_t(reader->Length() / 2), int64_t(reader->Length()) - 1}) {
    if (!reader->SetPosition(at).ok()) {
      Require(at < 0 || uint64_t(at) >= reader->Length());
      continue;
    }
    uint64_t done = 0;
    (void)reader->Read(buffer.data(), 1024, &done);
    Require(done <= std::min<uint64_t>(1024, reader->Length() - uint64_t(at)));
  }
  return 0;
}
