#include "convert/PcmConverter.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "convert/AcmError.h"

namespace kiv::convert {
namespace {

bool Handled(const TACMWaveFormat& f) {
  return f.IsPcm() && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
         (f.channels == 1 || f.channels == 2);
}

bool Describable(const TACMWaveFormat& f) {
  return f.samplesPerSec > 0 && f.channels > 0 && f.bitsPerSample > 0 &&
         f.blockAlign == f.channels * f.bitsPerSample / 8;
}

float SampleAt(const uint8_t* p, uint16_t bits) {
  if (bits == 8) return float(int(*p) - 128) / 128.0f;
  return float(int16_t(uint16_t(p[0] | (p[1] << 8)))) / 32768.0f;
}

}  // namespace

int PcmConverter::Create(const TACMWaveFormat& in, const TACMWaveFormat& out,
                         std::unique_ptr<PcmConverter>* converter) {
  converter->reset();
  if (!in.IsPcm() || !out.IsPcm()) return kAcmNotPossible;
  if (!Describable(in) || !Describable(out)) return kAcmInvalidParam;
  if (!Handled(in) || !Handled(out)) return kAcmNotPossible;
  std::unique_ptr<PcmConverter> made(new PcmConverter(in, out));
  if (in.samplesPerSec != out.samplesPerSec) {
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
    soxr_error_t error = nullptr;
    made->resampler_ = soxr_create(in.samplesPerSec, out.samplesPerSec, out.channels, &error,
                                   &io, &quality, nullptr);
    // soxr refuses only impossible ratios or fails to allocate; both end the request.
    if (error != nullptr || made->resampler_ == nullptr) return kAcmNotPossible;
  }
  *converter = std::move(made);
  return kAcmOk;
}

PcmConverter::~PcmConverter() {
  if (resampler_ != nullptr) soxr_delete(resampler_);
}

int PcmConverter::OutputSize(size_t inputBytes, size_t* outputBytes) const {
  const uint64_t frames = inputBytes / in_.blockAlign;
  if (frames == 0) return kAcmInvalidParam;
  // Round up, plus a little for the resampler's uneven output per call.
  uint64_t outFrames = (frames * out_.samplesPerSec + in_.samplesPerSec - 1) / in_.samplesPerSec;
  if (resampler_ != nullptr) outFrames += 64;
  *outputBytes = size_t(outFrames * out_.blockAlign);
  return kAcmOk;
}

int PcmConverter::Convert(const uint8_t* in, size_t size, std::vector<uint8_t>* out) {
  const size_t frames = size / in_.blockAlign;
  if (frames == 0) return kAcmOk;  // no input must never read as the end of it (see Resample)
  const size_t bytesIn = in_.bitsPerSample / 8;
  // Identical formats: the bytes pass unchanged.
  if (resampler_ == nullptr && in_.channels == out_.channels &&
      in_.bitsPerSample == out_.bitsPerSample) {
    out->insert(out->end(), in, in + frames * in_.blockAlign);
    return kAcmOk;
  }
  mixed_.resize(frames * out_.channels);
  for (size_t f = 0; f < frames; ++f) {
    const uint8_t* frame = in + f * in_.blockAlign;
    const float left = SampleAt(frame, in_.bitsPerSample);
    const float right = in_.channels == 2 ? SampleAt(frame + bytesIn, in_.bitsPerSample) : left;
    if (out_.channels == 1) {
      mixed_[f] = in_.channels == 2 ? (left + right) / 2 : left;
    } else {
      mixed_[2 * f] = left;
      mixed_[2 * f + 1] = right;
    }
  }
  if (resampler_ != nullptr) return Resample(mixed_.data(), frames, out);
  AppendSamples(mixed_.data(), frames, out);
  return kAcmOk;
}

int PcmConverter::Flush(std::vector<uint8_t>* out) {
  return resampler_ != nullptr ? Resample(nullptr, 0, out) : kAcmOk;
}

// Feeds `frames` frames (none to drain the filter at the end) and appends all output soxr has.
int PcmConverter::Resample(const float* samples, size_t frames, std::vector<uint8_t>* out) {
  const size_t room = std::max<size_t>(
      4096, size_t(double(frames) * out_.samplesPerSec / in_.samplesPerSec) + 256);
  resampled_.resize(room * out_.channels);
  size_t used = 0;
  do {
    size_t took = 0, made = 0;
    if (soxr_process(resampler_, samples ? samples + used * out_.channels : nullptr,
                     frames - used, &took, resampled_.data(), room, &made) != nullptr) {
      return kAcmNotPossible;
    }
    // soxr keeps whatever input it is given; one that takes none and gives none is stuck.
    if (samples != nullptr && used < frames && took == 0 && made == 0) return kAcmNotPossible;
    used += took;
    AppendSamples(resampled_.data(), made, out);
    // Feeding stops when the input is taken and soxr returns less than it had room for;
    // draining stops when it has nothing left.
    if (used == frames && made < room && (samples != nullptr || made == 0)) break;
  } while (true);
  return kAcmOk;
}

void PcmConverter::AppendSamples(const float* samples, size_t frames,
                                 std::vector<uint8_t>* out) const {
  const size_t count = frames * out_.channels;
  const size_t start = out->size();
  out->resize(start + count * (out_.bitsPerSample / 8));
  uint8_t* p = out->data() + start;
  for (size_t i = 0; i < count; ++i) {
    const float v = samples[i];
    if (out_.bitsPerSample == 8) {
      *p++ = uint8_t(std::clamp(std::lround(v * 128.0f) + 128, 0L, 255L));
    } else {
      const auto s = uint16_t(int16_t(std::clamp(std::lround(v * 32768.0f), -32768L, 32767L)));
      *p++ = uint8_t(s);
      *p++ = uint8_t(s >> 8);
    }
  }
}

}  // namespace kiv::convert
