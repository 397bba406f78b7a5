// Free space from the cassette store's own volume queries, measured on the nearest folder of the
// path that exists, so a cassette that has not been created yet is measured where it will be.
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
