// Encoding of one table entry.
#include "cassette/CassetteLayout.h"

#include <algorithm>

#include "cassette/MessageName.h"

namespace kiv {

MessageEntry MessageEntry::Decode(const uint8_t* bytes) {
  MessageEntry entry;
  entry.number = GetU32(bytes);
  entry.start = GetU32(bytes + 4);
  entry.end = GetU32(bytes + 8);
  std::copy_n(bytes + kEntryHeadSize, kNameSize, entry.name.begin());
  return entry;
}

void MessageEntry::EncodeTo(uint8_t* bytes) const {
  PutU32(bytes, number);
  PutU32(bytes + 4, start);
  PutU32(bytes + 8, end);
  std::copy(name.begin(), name.end(), bytes + kEntryHeadSize);
}

std::array<uint8_t, kEntrySize> MessageEntry::Encode() const {
  std::array<uint8_t, kEntrySize> bytes{};
  EncodeTo(bytes.data());
  return bytes;
}

std::string MessageEntry::NameText() const { return NameTextOfField(name); }

}  // namespace kiv
