// The ten-minute capacity of a cassette and the disk-space margins around a recording, as plain
// arithmetic: the panel measures free space and shows the boxes; this unit decides.
#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// Byte limit of a cassette file at `rate`: 600 seconds of sound (6,615,000 at 11025 Hz).
uint32_t RecordCapacity(uint32_t rate);

// Free space needed to start a recording, in MiB: the capacity shifted right by 20 bits.
uint32_t StartMarginMiB(uint32_t recordCapacity);
inline constexpr double kRunningMarginMiB = 1.0;

double BytesToMiB(uint64_t bytes);

// "07':45\" left for recording" for `usedBytes` of sound at `rate`. More than ten minutes used
// gives "00':00\"", never a negative time.
std::string RemainingTimeText(uint64_t usedBytes, uint32_t rate);

enum class RecordStartCheck {
  Ok,
  Inconsistent,    // an entry number outside the valid range: delete all first
  CapacityFull,    // the file is over capacity, or its table cannot take another entry
  NotEnoughSpace,  // less free disk than the start margin
};

struct RecordStartFacts {
  bool inconsistent = false;
  uint64_t fileLength = 0;
  uint32_t recordCapacity = 0;
  double freeMiB = 0;
  uint64_t tableEntries = 0;  // every entry of the table, deleted ones included
};

RecordStartCheck DecideRecordStart(const RecordStartFacts& facts);

enum class RunningCheck { Ok, LowDisk, CapacityFull };

RunningCheck DecideRunningRecording(double freeMiB, uint64_t fileLength, uint32_t recordCapacity);

}  // namespace kiv
