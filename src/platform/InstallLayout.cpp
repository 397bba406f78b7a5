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
#if defined(Q_OS_WIN)
  const QString file = name + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
  const QString file = QStringLiteral("lib") + name + QStringLiteral(".dylib");
#else
  const QString file = QStringLiteral("lib") + name + QStringLiteral(".so");
#endif
  return FolderHolding(QCoreApplication::applicationDirPath(), QStringLiteral("../lib/kivrec"),
                       file) +
         u'/' + file;
}

}  // namespace kiv::InstallLayout
