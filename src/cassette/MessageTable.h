// Finding and reading a cassette's message table.
//
// The table is found by searching backwards from the end of the file for the marker; the bounded
// search stops kTableSearchSpan bytes back, the unbounded one at the start of the file. Reading
// never trusts the file: entry offsets are only reported, never followed, and a trailing partial
// entry is counted as damage, not read past the end.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cassette/CassetteLayout.h"

namespace kiv {

class File;

enum class TableSearch { Bounded, Unbounded };

// Position of the last marker in `file`, if the search finds one. Reads the file in blocks.
std::optional<uint64_t> FindTableMarker(const File& file, uint64_t length, TableSearch search);

// The same search over bytes already in memory (the recording sidecar, fuzzing).
std::optional<uint64_t> FindTableMarker(const uint8_t* data, uint64_t length, TableSearch search);

struct MessageTable {
  uint64_t pos = 0;      // offset of the marker
  uint32_t rate = 0;     // the word after it, valid or not
  std::vector<MessageEntry> entries;
  uint64_t trailingBytes = 0;  // bytes after the last whole entry (0 in a sound table)

  bool HasValidRate() const { return IsValidRate(rate); }
  uint64_t ByteSize() const { return kTableHeadSize + entries.size() * kEntrySize + trailingBytes; }

  // The number of the last live entry: the message count N.
  uint32_t LiveCount() const;
  // True when an entry's number is neither live nor deleted.
  bool HasInconsistentNumber() const;
  // The live entry numbered `number`, or nullptr.
  const MessageEntry* FindLive(uint32_t number) const;
  // The first live entry in table order, or nullptr.
  const MessageEntry* FirstLive() const;
  // True when an entry claims sound outside [0, pos) or ends before it starts.
  bool EntryRangeDamaged(const MessageEntry& entry) const;
  // The part of an entry's range inside the sound area; damaged offsets shrink to nothing.
  uint64_t SoundStart(const MessageEntry& entry) const;
  uint64_t SoundEnd(const MessageEntry& entry) const;
  uint64_t SoundLength(const MessageEntry& entry) const { return SoundEnd(entry) - SoundStart(entry); }
  // Sound of messages 1..`messageCount`: what the remaining-time display counts as used.
  uint64_t UsedSoundBytes(uint32_t messageCount) const;
};

// Reads the table whose marker is at `pos` up to `length`, from a file or from `length` bytes in
// memory. Fails only on a read error or when `pos` leaves no room for the marker and rate word.
[[nodiscard]] bool ReadTableFromFile(const File& file, uint64_t pos, uint64_t length,
                                     MessageTable* table);
[[nodiscard]] bool ReadTableFromBytes(const uint8_t* data, uint64_t length, uint64_t pos,
                                      MessageTable* table);

}  // namespace kiv
