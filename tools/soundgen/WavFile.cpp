// Writing and reading the 16-bit mono WAV files.
#include "WavFile.h"

#include <cstring>

namespace soundgen {
namespace {

constexpr uint32_t kFmtSize = 16;
constexpr uint16_t kPcm = 1;
constexpr uint16_t kBytesPerSample = 2;

// Byte by byte: GCC 12 at -O2 mistakes a ranged insert into the reserved vector for an overflow.
void Put(std::vector<uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(uint8_t(value & 0xFF));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t((value >> shift) & 0xFF));
}

uint16_t Get16(const std::vector<uint8_t>& in, size_t at) {
  return uint16_t(in[at] | (in[at + 1] << 8));
}

uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return uint32_t(in[at]) | (uint32_t(in[at + 1]) << 8) | (uint32_t(in[at + 2]) << 16) |
         (uint32_t(in[at + 3]) << 24);
}

bool TagAt(const std::vector<uint8_t>& in, size_t at, const char (&tag)[5]) {
  return at + 4 <= in.size() && std::memcmp(in.data() + at, tag, 4) == 0;
}

}  // namespace

std::vector<uint8_t> WavFileBytes(const MonoSound& sound) {
  const auto dataSize = uint32_t(sound.samples.size() * kBytesPerSample);
  std::vector<uint8_t> out;
  out.reserve(44 + dataSize);
  Put(out, "RIFF");
  Put32(out, 36 + dataSize);
  Put(out, "WAVE");
  Put(out, "fmt ");
  Put32(out, kFmtSize);
  Put16(out, kPcm);
  Put16(out, 1);
  Put32(out, sound.rate);
  Put32(out, sound.rate * kBytesPerSample);
  Put16(out, kBytesPerSample);
  Put16(out, 16);
  Put(out, "data");
  Put32(out, dataSize);
  for (const int16_t sample : sound.samples) Put16(out, uint16_t(sample));
  return out;
}

std::optional<MonoSound> ReadWavFile(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 12 || !TagAt(bytes, 0, "RIFF") || !TagAt(bytes, 8, "WAVE")) return {};
  if (Get32(bytes, 4) != bytes.size() - 8) return {};
  MonoSound sound;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const uint32_t size = Get32(bytes, at + 4);
    const size_t body = at + 8;
    if (size > bytes.size() - body) return {};
    if (TagAt(bytes, at, "fmt ")) {
      if (size < kFmtSize || Get16(bytes, body) != kPcm || Get16(bytes, body + 2) != 1 ||
          Get16(bytes, body + 12) != kBytesPerSample || Get16(bytes, body + 14) != 16) {
        return {};
      }
      sound.rate = Get32(bytes, body + 4);
      if (sound.rate == 0 || Get32(bytes, body + 8) != sound.rate * kBytesPerSample) return {};
      haveFormat = true;
    } else if (TagAt(bytes, at, "data")) {
      if (!haveFormat || size % kBytesPerSample != 0) return {};
      for (size_t i = body; i < body + size; i += kBytesPerSample) {
        sound.samples.push_back(int16_t(Get16(bytes, i)));
      }
      return sound;
    }
    at = body + size + (size & 1);  // chunks start on even offsets
  }
  return {};
}

}  // namespace soundgen
