#include "platform/QtFreeSpace.h"

#include <algorithm>

#include "cassette/DiskSpace.h"

namespace kiv {

// The cassette store measures its volumes itself (the command-line companion and the converter
// need the same answers without Qt); paths cross as UTF-8.
double QtFreeSpace::FreeMiB(const QString& path) const {
  return std::max(0.0, FreeMiBOn(path.toStdString()));
}

QString QtFreeSpace::VolumeName(const QString& path) const {
  return QString::fromStdString(VolumeNameOf(path.toStdString()));
}

}  // namespace kiv
