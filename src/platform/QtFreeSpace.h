// Free space from QStorageInfo, measured on the nearest folder of the path that exists, so a
// cassette that is about to be created is measured on the volume it will land on.
#pragma once

#include "platform/FreeSpace.h"

namespace kiv {

class QtFreeSpace final : public FreeSpace {
 public:
  QtFreeSpace() = default;

  double FreeMiB(const QString& path) const override;
  QString VolumeName(const QString& path) const override;
};

}  // namespace kiv
