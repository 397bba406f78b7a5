// Linear PCM to linear PCM: 8 or 16 bits, one or two channels, any rate. Bits and channels are
// converted here; a change of rate goes through libsoxr. The converter keeps the resampler's
// history from block to block, so a sound cut into blocks comes out as if converted whole, and
// Flush() hands out the filter's last samples.
//
// Resampling quality: SOXR_MQ, 16-bit precision with a medium roll-off. What this program
// resamples is voice on its way to or from an 8-bit cassette at 11025 or 22050 Hz: 16-bit
// precision (about 96 dB) lies far below the cassette's own 48 dB, and the medium roll-off keeps
// the pass band to about 91% of the lower Nyquist frequency (5 kHz at 11025 Hz), which keeps the
// sibilants that carry speech's intelligibility. The higher qualities add precision nobody can
// hear on an 8-bit cassette and cost time on every import.
#pragma once

#include <memory>
#include <vector>

#include "convert/StreamCodec.h"

struct soxr;

namespace kiv::convert {

class PcmConverter final : public StreamCodec {
 public:
  // kAcmInvalidParam for a format that is not whole frames or has no rate; kAcmNotPossible for
  // PCM this converter does not handle (other than 8/16 bits, 1/2 channels).
  static int Create(const TACMWaveFormat& in, const TACMWaveFormat& out,
                    std::unique_ptr<PcmConverter>* converter);
  ~PcmConverter() override;
  PcmConverter(const PcmConverter&) = delete;
  PcmConverter& operator=(const PcmConverter&) = delete;

  int OutputSize(size_t inputBytes, size_t* outputBytes) const override;
  // Converts the whole frames of the block; a partial frame at its end is dropped.
  int Convert(const uint8_t* in, size_t size, std::vector<uint8_t>* out) override;
  int Flush(std::vector<uint8_t>* out) override;

 private:
  PcmConverter(const TACMWaveFormat& in, const TACMWaveFormat& out) : in_(in), out_(out) {}
  void AppendSamples(const float* samples, size_t frames, std::vector<uint8_t>* out) const;
  int Resample(const float* samples, size_t frames, std::vector<uint8_t>* out);

  TACMWaveFormat in_, out_;
  soxr* resampler_ = nullptr;  // only when the rates differ
  std::vector<float> mixed_, resampled_;
};

}  // namespace kiv::convert
