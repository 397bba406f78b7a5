// The guard that keeps the recorder to one running copy per user. The program entry owns it for
// the whole life of the process and never releases it explicitly: the guard ends with the
// process, and a guard left behind by a process that crashed or was killed does not stop the
// next start.
#pragma once

namespace kiv {

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // True when this process may run: it now holds the guard, or the guard could not be made at
  // all (a broken runtime folder must not keep the user from recording). False only when another
  // running copy holds it.
  virtual bool TryAcquire() = 0;

 protected:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
};

}  // namespace kiv
