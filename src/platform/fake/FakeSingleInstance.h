// A single-instance guard for tests: whether another copy runs is the test's choice.
#pragma once

#include "platform/SingleInstance.h"

namespace kiv {

class FakeSingleInstance final : public SingleInstance {
 public:
  explicit FakeSingleInstance(bool anotherCopyRuns = false);

  bool TryAcquire() override;

  int AcquireCount() const { return acquireCount_; }

 private:
  bool anotherCopyRuns_;
  int acquireCount_ = 0;
};

}  // namespace kiv
