#include "platform/QtFolders.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/InstallLayout.h"

namespace kiv {
namespace {

QString DataSubfolder() { return QStringLiteral("Zorvikware/Kiv Sound Recorder/"); }

}  // namespace

QString QtFolders::WithTrailingSlash(QString folder) {
  while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
  if (folder != QStringLiteral("/")) folder += u'/';
  return folder;
}

QString QtFolders::DataFolderFor(const QString& xdgDataHome, const QString& home) {
  QString base = xdgDataHome;
  if (base.isEmpty() || !base.startsWith(u'/')) {
    if (home.isEmpty()) return {};
    base = WithTrailingSlash(home) + QStringLiteral(".local/share");
  }
  return WithTrailingSlash(base) + DataSubfolder();
}

QString QtFolders::UsableFolder(const QString& folder, const QString& fallback) {
  if (!folder.isEmpty() && QDir().mkpath(folder)) return folder;
  return fallback;
}

QString QtFolders::ProgramFolder() const {
  return WithTrailingSlash(InstallLayout::ProgramFilesFolder());
}

QString QtFolders::DataFolder() const {
#ifdef Q_OS_WIN
  const QString wanted = WithTrailingSlash(
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + DataSubfolder();
#else
  // From the environment as kivrec-cli reads it, not from QStandardPaths, whose handling of an
  // unusual XDG_DATA_HOME is not ours to keep in step with.
  const QString wanted =
      DataFolderFor(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
#endif
  return UsableFolder(wanted, TempFolder());
}

QString QtFolders::TempFolder() const { return WithTrailingSlash(QDir::tempPath()); }

}  // namespace kiv
