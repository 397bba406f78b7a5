#include "platform/fake/FakeFreeSpace.h"

#include <utility>

namespace kiv {

FakeFreeSpace::FakeFreeSpace(double freeMiB, QString volumeName)
    : freeMiB_(freeMiB), volumeName_(std::move(volumeName)) {}

double FakeFreeSpace::FreeMiB(const QString& path) const {
  askedPaths_.append(path);
  return freeMiB_;
}

QString FakeFreeSpace::VolumeName(const QString& path) const {
  askedPaths_.append(path);
  return volumeName_;
}

}  // namespace kiv
