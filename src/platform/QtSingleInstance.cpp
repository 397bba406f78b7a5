#include "platform/QtSingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kiv {

QtSingleInstance::QtSingleInstance(const QString& folder)
    : path_(QDir(folder).filePath(QStringLiteral("KivSoundRecorderMutex.lock"))), lock_(path_) {
  // The default of 30 s would let a second start take the lock from a copy that has simply been
  // running for a while; only a dead owner may lose it.
  lock_.setStaleLockTime(0);
}

QString QtSingleInstance::DefaultFolder() {
#ifdef Q_OS_WIN
  // Qt's runtime folder on Windows is the user's home folder, where a lock file would be litter.
  return QDir::tempPath();
#else
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

bool QtSingleInstance::TryAcquire() {
  if (lock_.isLocked()) return true;
  QDir().mkpath(QFileInfo(path_).absolutePath());
  if (lock_.tryLock(0)) return true;
  return lock_.error() != QLockFile::LockFailedError;
}

}  // namespace kiv
