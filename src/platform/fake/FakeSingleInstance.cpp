#include "platform/fake/FakeSingleInstance.h"

namespace kiv {

FakeSingleInstance::FakeSingleInstance(bool anotherCopyRuns) : anotherCopyRuns_(anotherCopyRuns) {}

bool FakeSingleInstance::TryAcquire() {
  ++acquireCount_;
  return !anotherCopyRuns_;
}

}  // namespace kiv
