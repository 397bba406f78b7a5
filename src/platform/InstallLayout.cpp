#include "platform/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kiv::InstallLayout {

QString FolderHolding(const QString& executableFolder, const QString& installedFolder,
                      const QString& entry) {
  for (const QString& folder :
       {executableFolder, executableFolder + u'/' + installedFolder}) {
    const QString clean = QDir::cleanPath(folder);
    if (QFileInfo::exists(clean + u'/' + entry)) return clean;
  }
  return QDir::cleanPath(executableFolder);
}

QString ProgramFilesFolder() {
  return FolderHolding(QCoreApplication::applicationDirPath(), QStringLiteral("../share/kivrec"),
                       QStringLiteral("Skin"));
}

QString ModulePath(const QString& name) {
  // The file name as the build names shared libraries on this system ("libkivqtsound.so").
  const QString file = QStringLiteral(KIVREC_LIBRARY_PREFIX) + name +
                       QStringLiteral(KIVREC_LIBRARY_SUFFIX);
  return FolderHolding(QCoreApplication::applicationDirPath(), QStringLiteral("../lib/kivrec"),
                       file) +
         u'/' + file;
}

}  // namespace kiv::InstallLayout
