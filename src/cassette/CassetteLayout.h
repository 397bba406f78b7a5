// The bytes of a cassette file, written down once.
//
// A cassette is raw sound followed by a message table that runs to the end of the file:
//
//   offset 0                         TablePos
//   | sound of every message ...     | FE FE FE FE | rate | entry 1 | entry 2 | ... | EOF
//                                    |<--- 8 --->|        |<- 140 ->|
//
//   entry:  number (u32) | start (u32) | end (u32) | name (128 bytes)
//   name:   text ... 0D | 20 20 ... 20 | FC FC FC FC      (text + CR fit in the first 124 bytes)
//
// All integers are 32-bit unsigned little-endian. The sound is unsigned 8-bit mono PCM at the
// rate word's rate, so byte offsets are sample positions. The marker is the last FE FE FE FE in
// the file; readers look for it backwards from the end, at most kTableSearchSpan bytes back, so
// a table of 500 entries can never be found again and writers must not make one.
//
// The recording sidecar (the cassette path with its last three characters replaced by "zf") holds
// the table as it was when a recording began plus one open entry whose end is kOpenEnd.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

inline constexpr uint32_t kTableMarker = 0xFEFEFEFEu;
inline constexpr uint32_t kNameTerminator = 0xFCFCFCFCu;
inline constexpr uint32_t kOpenEnd = 0xFDFDFDFDu;

inline constexpr uint32_t kDeletedNumber = 65535;
inline constexpr uint32_t kRecoveryNumber = 100000;
inline constexpr uint32_t kLastLiveNumber = 65534;

inline constexpr size_t kTableHeadSize = 8;  // marker + rate word
inline constexpr size_t kEntryHeadSize = 12;  // number + start + end
inline constexpr size_t kNameSize = 128;
inline constexpr size_t kEntrySize = kEntryHeadSize + kNameSize;
inline constexpr size_t kNameTextLimit = 123;  // text + CR within the first 124 bytes
inline constexpr size_t kNameTerminatorOffset = 124;  // FC FC FC FC, bytes 125..128

inline constexpr uint64_t kTableSearchSpan = 70000;
inline constexpr size_t kMaxFindableEntries = 499;

inline constexpr uint32_t kDefaultRate = 11025;
inline constexpr uint32_t kCapacitySeconds = 600;
inline constexpr size_t kCopyChunk = 1048576;

static_assert(kTableHeadSize == 8);
static_assert(kEntrySize == 140);
static_assert(kNameSize == 128);
static_assert(kNameTextLimit + 1 <= kNameTerminatorOffset);
// The largest table that the bounded search still finds.
static_assert(kTableHeadSize + kEntrySize * kMaxFindableEntries <= kTableSearchSpan);
static_assert(kTableHeadSize + kEntrySize * (kMaxFindableEntries + 1) > kTableSearchSpan);

inline bool IsValidRate(uint32_t rate) { return rate == 11025 || rate == 22050 || rate == 44100; }
inline bool IsLiveNumber(uint32_t number) { return number >= 1 && number <= kLastLiveNumber; }
// Any number that is neither live nor the deleted mark makes a cassette inconsistent.
inline bool IsInconsistentNumber(uint32_t number) {
  return !IsLiveNumber(number) && number != kDeletedNumber;
}

inline uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void PutU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

// One 140-byte table entry. `name` keeps the whole raw field so that writers that copy an entry
// (pack, recovery) carry its bytes over unchanged.
struct MessageEntry {
  uint32_t number = 0;
  uint32_t start = 0;
  uint32_t end = 0;
  std::array<uint8_t, kNameSize> name{};

  static MessageEntry Decode(const uint8_t* bytes);
  void EncodeTo(uint8_t* bytes) const;
  std::array<uint8_t, kEntrySize> Encode() const;

  // The name text: everything before the first CR.
  std::string NameText() const;
  uint32_t Length() const { return end >= start ? end - start : 0; }
};

}  // namespace kiv
