// The recording sidecar: the table a recording started from plus the entry of the message being
// recorded, whose end is still kOpenEnd. It exists from the moment a recording begins until its
// table and entry are safely in the cassette, so it is what an interrupted recording is rebuilt
// from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cassette/MessageTable.h"

namespace kiv {

class File;
class FileSystem;

struct SidecarContent {
  MessageTable table;           // marker, rate and every entry, the open one last
  uint64_t openEndOffset = 0;   // offset of the kOpenEnd word inside the sidecar
  uint32_t openStart = 0;       // where the interrupted message's sound begins
  uint64_t oldTableSize = 0;    // bytes of the table as it was at recording start
};

// Reads a sidecar; false when it is not one (no marker at 0, bad rate, no open entry). A sidecar
// cut short after its open end word still counts: recovery rebuilds its last entry.
[[nodiscard]] bool ParseSidecar(const std::vector<uint8_t>& bytes, SidecarContent* content);

enum class SidecarVerdict {
  None,                  // no sidecar
  Stale,                 // the cassette already holds everything the sidecar knows
  Recover,               // the cassette has no table: merge the sidecar after the sound
  RecoverAfterTruncate,  // the table was being written back when the program died: cut the
                         // half-written table off at `validTable->pos`, then merge
  Unusable,              // a sidecar exists but cannot be read as one
};

// What opening the cassette must do about `sidecar` (empty when there is none), given the
// cassette's valid table if the bounded search found one.
SidecarVerdict JudgeSidecar(const std::vector<uint8_t>& sidecar, bool sidecarExists,
                            const File& cassette, uint64_t length,
                            const std::optional<MessageTable>& validTable);

// Whole-file read for the small companion files; false on error.
[[nodiscard]] bool ReadWholeFile(FileSystem& files, const std::string& path,
                                 std::vector<uint8_t>* bytes);

}  // namespace kiv
