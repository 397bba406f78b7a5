// The single-instance guard as a lock file, "KivSoundRecorderMutex.lock", in the user's runtime
// folder (the temporary folder when there is none). The lock holds the owner's process id, so a
// lock whose process is gone is taken over; a lock of a live process is never taken, however old.
#pragma once

#include <QLockFile>
#include <QString>

#include "platform/SingleInstance.h"

namespace kiv {

class QtSingleInstance final : public SingleInstance {
 public:
  // The lock goes into `folder`, which is created if needed.
  explicit QtSingleInstance(const QString& folder = DefaultFolder());

  bool TryAcquire() override;

  QString LockFilePath() const { return path_; }

  // The runtime folder ($XDG_RUNTIME_DIR on Linux), or the temporary folder without one.
  static QString DefaultFolder();

 private:
  QString path_;
  QLockFile lock_;
};

}  // namespace kiv
