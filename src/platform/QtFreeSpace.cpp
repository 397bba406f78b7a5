#include "platform/QtFreeSpace.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace kiv {
namespace {

QStorageInfo VolumeOf(const QString& path) {
  QString existing = QFileInfo(path).absoluteFilePath();
  while (!QFileInfo::exists(existing)) {
    const QString parent = QFileInfo(existing).absolutePath();
    if (parent == existing) break;
    existing = parent;
  }
  return QStorageInfo(existing);
}

}  // namespace

double QtFreeSpace::FreeMiB(const QString& path) const {
  const QStorageInfo volume = VolumeOf(path);
  if (!volume.isValid()) return 0.0;
  return static_cast<double>(volume.bytesAvailable()) * (1.0 / 1024) * (1.0 / 1024);
}

QString QtFreeSpace::VolumeName(const QString& path) const {
  const QStorageInfo volume = VolumeOf(path);
  if (!volume.isValid()) return {};
  const QString root = volume.rootPath();
#ifdef Q_OS_WIN
  // "C:/" becomes "C:"; a network share has no letter and keeps its root path.
  if (root.size() >= 2 && root.at(1) == u':') return root.left(1).toUpper() + u':';
#endif
  return root;
}

}  // namespace kiv
