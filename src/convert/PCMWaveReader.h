// TPCMWaveReader: any wave stream presented as linear PCM frames. 8- and 16-bit PCM is read
// straight from the stream; every other kind this program accepts (IMA and MS ADPCM, A-law,
// mu-law, GSM 6.10, 32-bit float, wider PCM and the "extensible" header) is decoded through
// libsndfile into 16-bit PCM at the source's rate and channel count.
//
// The reader borrows its TWaveStream, which must outlive it; libsndfile reads the stream's File
// through its own cursor, so the stream's position is left to the reader while it lives.
// Positions and lengths are PCM frames.
#pragma once

#include <cstdint>
#include <memory>

#include "cassette/Status.h"
#include "convert/WaveStream.h"

namespace kiv::convert {

class TPCMWaveReader {
 public:
  // "Can't suggest pcm format." for a format with no PCM form here, "Can't open acm stream." when
  // the decoder refuses the file.
  [[nodiscard]] static Status Open(TWaveStream* source, std::unique_ptr<TPCMWaveReader>* reader);
  ~TPCMWaveReader();
  TPCMWaveReader(const TPCMWaveReader&) = delete;
  TPCMWaveReader& operator=(const TPCMWaveReader&) = delete;

  const TACMWaveFormat& Format() const { return format_; }
  uint64_t Length() const { return length_; }
  int64_t Position() const { return position_; }
  // "Position out of bounds." outside 0 to Length() - 1.
  [[nodiscard]] Status SetPosition(int64_t frame);
  // Frames decoded per call to the decoder; values below 1024 are ignored. Default 20000.
  void SetBufferLength(uint32_t frames);
  uint32_t BufferLength() const { return bufferLength_; }

  // Up to `frames` frames from the position on; fewer only at the end of the sound. A decoding
  // failure, or reaching the end of a file cut short of its data chunk, is "Unable to convert
  // sample." (after the frames that could be read).
  [[nodiscard]] Status Read(void* buffer, uint64_t frames, uint64_t* done);

 private:
  struct Decoder;
  explicit TPCMWaveReader(TWaveStream* source);

  TWaveStream* source_;
  std::unique_ptr<Decoder> decoder_;  // only for sources that are not 8/16-bit PCM
  TACMWaveFormat format_;
  uint64_t length_ = 0;
  bool truncated_ = false;
  int64_t position_ = 0;
  uint32_t bufferLength_ = 20000;
};

}  // namespace kiv::convert
