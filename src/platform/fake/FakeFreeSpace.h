// Free space for tests: one scripted amount and volume name for every path, and the paths asked
// about, so a test can check which file the guard measured.
#pragma once

#include <QStringList>

#include "platform/FreeSpace.h"

namespace kiv {

class FakeFreeSpace final : public FreeSpace {
 public:
  explicit FakeFreeSpace(double freeMiB = 1024.0, QString volumeName = QStringLiteral("/"));

  double FreeMiB(const QString& path) const override;
  QString VolumeName(const QString& path) const override;

  void SetFreeMiB(double freeMiB) { freeMiB_ = freeMiB; }
  void SetVolumeName(const QString& name) { volumeName_ = name; }
  const QStringList& AskedPaths() const { return askedPaths_; }

 private:
  double freeMiB_;
  QString volumeName_;
  mutable QStringList askedPaths_;
};

}  // namespace kiv
