// Free disk space for the recording guards: a recording does not start, or is stopped and saved,
// when the volume holding the cassette runs short. Asked per check, never cached.
#pragma once

#include <QString>

namespace kiv {

class FreeSpace {
 public:
  virtual ~FreeSpace() = default;

  // Space this user may still write on the volume holding `path`, in MiB (bytes / 1024 / 1024).
  // `path` need not exist yet; 0 when the volume cannot be found.
  virtual double FreeMiB(const QString& path) const = 0;

  // The volume as the user knows it, for messages: "C:" on Windows, the mount point elsewhere.
  virtual QString VolumeName(const QString& path) const = 0;

 protected:
  FreeSpace() = default;
  FreeSpace(const FreeSpace&) = delete;
  FreeSpace& operator=(const FreeSpace&) = delete;
};

}  // namespace kiv
