// Capacity arithmetic and the record-start / running decisions.
#include "cassette/Capacity.h"

#include "cassette/CassetteLayout.h"
#include "cassette/MessageName.h"

namespace kiv {

uint32_t RecordCapacity(uint32_t rate) { return rate * kCapacitySeconds; }

uint32_t StartMarginMiB(uint32_t recordCapacity) { return recordCapacity >> 20; }

double BytesToMiB(uint64_t bytes) { return double(bytes) * (1.0 / 1024) * (1.0 / 1024); }

std::string RemainingTimeText(uint64_t usedBytes, uint32_t rate) {
  uint64_t used = rate == 0 ? 0 : usedBytes / rate;
  uint32_t left = used >= kCapacitySeconds ? 0 : kCapacitySeconds - uint32_t(used);
  uint32_t minutes = left / 60;
  return TwoDigits(minutes) + "':" + TwoDigits(left - minutes * 60) + "\" left for recording";
}

RecordStartCheck DecideRecordStart(const RecordStartFacts& facts) {
  if (facts.inconsistent) return RecordStartCheck::Inconsistent;
  // Each recording adds one entry, and an interrupted one may add the recovery entry too; a
  // table must stay small enough for the bounded search to find it afterwards.
  if (facts.fileLength > facts.recordCapacity || facts.tableEntries + 2 > kMaxFindableEntries) {
    return RecordStartCheck::CapacityFull;
  }
  if (facts.freeMiB < double(StartMarginMiB(facts.recordCapacity))) {
    return RecordStartCheck::NotEnoughSpace;
  }
  return RecordStartCheck::Ok;
}

RunningCheck DecideRunningRecording(double freeMiB, uint64_t fileLength, uint32_t recordCapacity) {
  if (freeMiB < kRunningMarginMiB) return RunningCheck::LowDisk;
  if (fileLength > recordCapacity) return RunningCheck::CapacityFull;
  return RunningCheck::Ok;
}

}  // namespace kiv
