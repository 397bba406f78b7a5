// Builders of test input for the codec layer: RIFF files assembled chunk by chunk (so a test can
// make any of them lie), sine tones, MP3s from our encoder, and a whole-sound conversion.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "convert/ACMConvertor.h"
#include "convert/ByteOrder.h"
#include "convert/Mp3Format.h"

namespace kiv::convert::test {

// A file name in the test's temporary folder.
inline std::string TempPath(const std::string& name) {
  // TMPDIR on POSIX, TMP or TEMP on Windows.
  return std::filesystem::temp_directory_path().generic_string() + "/" + name;
}

// A chunk with the given id, declared size (defaults to the body's) and body.
inline std::vector<uint8_t> Chunk(const char* id, std::vector<uint8_t> body, int64_t size = -1) {
  std::vector<uint8_t> out(id, id + 4);
  out.resize(8);
  PutLE32(&out[4], size < 0 ? uint32_t(body.size()) : uint32_t(size));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1) out.push_back(0);
  return out;
}

inline std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks,
                                 const char* form = "WAVE") {
  std::vector<uint8_t> body(form, form + 4);
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body);
}

// A "fmt " body: tag, channels, rate, bits; `tail` follows the 16 bytes.
inline std::vector<uint8_t> Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                std::vector<uint8_t> tail = {}) {
  std::vector<uint8_t> out(16);
  const uint16_t align = uint16_t(channels * bits / 8);
  PutLE16(&out[0], tag);
  PutLE16(&out[2], channels);
  PutLE32(&out[4], rate);
  PutLE32(&out[8], rate * align);
  PutLE16(&out[12], align);
  PutLE16(&out[14], bits);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

// `seconds` of a sine at `hz`, 16-bit signed, interleaved over `channels`.
inline std::vector<int16_t> Tone(double hz, uint32_t rate, double seconds, int channels = 1) {
  std::vector<int16_t> out;
  const auto frames = size_t(rate * seconds);
  for (size_t i = 0; i < frames; ++i) {
    const auto v = int16_t(std::lround(12000 * std::sin(2 * std::numbers::pi * hz * double(i) / rate)));
    for (int c = 0; c < channels; ++c) out.push_back(v);
  }
  return out;
}

// Frequency from the upward zero crossings of one channel of `samples`, interpreting them with
// `centre` as the zero line (128 for 8-bit unsigned, 0 for 16-bit).
template <typename Sample>
double CrossingHz(const std::vector<Sample>& samples, uint32_t rate, int channels, int centre) {
  int crossings = 0;
  size_t first = 0, last = 0;
  for (size_t i = size_t(channels); i < samples.size(); i += size_t(channels)) {
    if (samples[i - size_t(channels)] < centre && samples[i] >= centre) {
      if (crossings++ == 0) first = i;
      last = i;
    }
  }
  if (crossings < 2) return 0;
  return double(crossings - 1) * rate / (double(last - first) / channels);
}

// Runs `in` through a convertor in `block`-byte blocks, resizing for a short last block as the
// converter does, then flushes. Error texts are collected in *errors; without it there must be
// none.
inline std::vector<uint8_t> ConvertAll(const TACMWaveFormat& from, const TACMWaveFormat& to,
                                       const std::vector<uint8_t>& in, uint32_t block = 1024,
                                       std::string* errors = nullptr) {
  TACMConvertor acm;
  acm.OnException = [&](const std::string& text) { if (errors) *errors += text; };
  if (!acm.SetFormatIn(from).ok() || !acm.SetFormatOut(to).ok()) return {};
  if (!acm.SetInputBufferSize(block).ok()) return {};
  acm.SetActive(true);
  std::vector<uint8_t> out;
  for (size_t pos = 0; pos < in.size() && acm.Active(); pos += block) {
    const auto chunk = uint32_t(std::min<size_t>(block, in.size() - pos));
    if (chunk != acm.InputBufferSize()) acm.ChangeInputBufferSize(chunk);
    std::memcpy(acm.InputBuffer(), in.data() + pos, chunk);
    const uint32_t n = acm.Convert();
    out.insert(out.end(), acm.OutputBuffer(), acm.OutputBuffer() + n);
  }
  const uint32_t n = acm.Active() ? acm.Flush() : 0;
  out.insert(out.end(), acm.OutputBuffer(), acm.OutputBuffer() + n);
  EXPECT_TRUE(errors != nullptr || acm.LastErrorText().empty()) << acm.LastErrorText();
  return out;
}

inline std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> out(samples.size() * 2);
  std::memcpy(out.data(), samples.data(), out.size());
  return out;
}

inline TACMWaveFormat Mp3Format(uint16_t channels, uint32_t rate, uint32_t kbps) {
  return Mp3WaveFormat(channels, rate, kbps * 1000 / 8, {});
}

// A 440 Hz tone encoded by our LAME encoder at 64 kbit/s.
inline std::vector<uint8_t> Mp3Tone(uint16_t channels, uint32_t rate, double seconds) {
  return ConvertAll(PcmFormat(channels, rate, 16), Mp3Format(channels, rate, 64),
                    Bytes(Tone(440, rate, seconds, channels)));
}

}  // namespace kiv::convert::test
