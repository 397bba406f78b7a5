// Backward marker search and table reading.
#include "cassette/MessageTable.h"

#include <algorithm>
#include <vector>

#include "cassette/File.h"

namespace kiv {
namespace {

// Lowest position the search may look at, for a file of `length` bytes.
uint64_t SearchFloor(uint64_t length, TableSearch search) {
  if (search == TableSearch::Unbounded || length < kTableSearchSpan) return 0;
  return length - kTableSearchSpan;
}

// Last position p in [floor, last] with data[p..p+4) == marker, scanning `block` which holds the
// file bytes starting at `blockStart`.
std::optional<uint64_t> ScanBack(const uint8_t* block, uint64_t blockStart, uint64_t floor,
                                 uint64_t last) {
  for (uint64_t p = last + 1; p-- > floor;) {
    if (GetU32(block + (p - blockStart)) == kTableMarker) return p;
  }
  return std::nullopt;
}

}  // namespace

std::optional<uint64_t> FindTableMarker(const uint8_t* data, uint64_t length, TableSearch search) {
  if (length < 4) return std::nullopt;
  return ScanBack(data, 0, SearchFloor(length, search), length - 4);
}

std::optional<uint64_t> FindTableMarker(const File& file, uint64_t length, TableSearch search) {
  if (length < 4) return std::nullopt;
  const uint64_t floor = SearchFloor(length, search);
  constexpr uint64_t kBlock = 1 << 16;
  std::vector<uint8_t> block;
  // Positions [floor, last] remain to be scanned; each block overlaps the next by three bytes so
  // a marker straddling two blocks is still seen.
  uint64_t last = length - 4;
  for (;;) {
    uint64_t first = last + 1 > kBlock ? std::max(floor, last + 1 - kBlock) : floor;
    block.resize(size_t(last - first + 4));
    if (!file.ReadAt(first, block.data(), block.size())) return std::nullopt;
    if (auto hit = ScanBack(block.data(), first, first, last)) return hit;
    if (first == floor) return std::nullopt;
    last = first - 1;
  }
}

uint32_t MessageTable::LiveCount() const {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (IsLiveNumber(it->number)) return it->number;
  }
  return 0;
}

bool MessageTable::HasInconsistentNumber() const {
  return std::any_of(entries.begin(), entries.end(),
                     [](const MessageEntry& e) { return IsInconsistentNumber(e.number); });
}

const MessageEntry* MessageTable::FindLive(uint32_t number) const {
  if (!IsLiveNumber(number)) return nullptr;
  for (const MessageEntry& entry : entries) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

const MessageEntry* MessageTable::FirstLive() const {
  for (const MessageEntry& entry : entries) {
    if (IsLiveNumber(entry.number)) return &entry;
  }
  return nullptr;
}

bool MessageTable::EntryRangeDamaged(const MessageEntry& entry) const {
  return entry.start > entry.end || entry.end > pos;
}

uint64_t MessageTable::SoundEnd(const MessageEntry& entry) const {
  return std::min<uint64_t>(entry.end, pos);
}

uint64_t MessageTable::SoundStart(const MessageEntry& entry) const {
  return std::min<uint64_t>(entry.start, SoundEnd(entry));
}

uint64_t MessageTable::UsedSoundBytes(uint32_t messageCount) const {
  uint64_t used = 0;
  // Only messages 1..N count: a recording sidecar's open entry N + 1 has no end yet.
  for (const MessageEntry& entry : entries) {
    if (!IsLiveNumber(entry.number) || entry.number > messageCount) continue;
    used += SoundLength(entry);
    if (entry.number == messageCount) break;
  }
  return used;
}

bool ReadTableFromBytes(const uint8_t* data, uint64_t length, uint64_t pos, MessageTable* table) {
  if (pos > length || length - pos < kTableHeadSize) return false;
  *table = MessageTable{};
  table->pos = pos;
  table->rate = GetU32(data + pos + 4);
  uint64_t body = length - pos - kTableHeadSize;
  uint64_t count = body / kEntrySize;
  table->trailingBytes = body % kEntrySize;
  table->entries.reserve(size_t(count));
  const uint8_t* entry = data + pos + kTableHeadSize;
  for (uint64_t i = 0; i < count; ++i, entry += kEntrySize) {
    table->entries.push_back(MessageEntry::Decode(entry));
  }
  return true;
}

bool ReadTableFromFile(const File& file, uint64_t pos, uint64_t length, MessageTable* table) {
  if (pos > length || length - pos < kTableHeadSize) return false;
  // Only the unbounded search can hand us a huge table, and then it is the whole tail of a
  // damaged file; it is read once, like any other table.
  std::vector<uint8_t> bytes(size_t(length - pos));
  if (!file.ReadAt(pos, bytes.data(), bytes.size())) return false;
  bool ok = ReadTableFromBytes(bytes.data(), bytes.size(), 0, table);
  table->pos = pos;
  return ok;
}

}  // namespace kiv
